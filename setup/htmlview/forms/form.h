// A FORM and its controls (INPUT, SELECT, TEXTAREA): what they submit, how they reset, radio
// groups, their sizes in the text and what they report when the user works them. The window
// controls behind them come from an IControlHost.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/htmlview/forms/control_host.h"
#include "setup/htmlview/layout/inline_control.h"
#include "setup/htmlview/parser/attributes.h"

namespace htmlview {

class Form;
class Properties;

// What a form reports to the viewer about one of its controls.
enum class ObjectEvent
{
    Click,
    Focus,
    Blur,
    Change
};

class FormControl : public IInlineControl
{
public:
    FormControl(Form& form, const AttributeList& attributes);
    ~FormControl() override;
    FormControl(const FormControl&) = delete;
    FormControl& operator=(const FormControl&) = delete;

    // Item `index` of what the control submits ("name=value"); false past the last.
    virtual bool Submission(int index, std::string& item) const;
    virtual void ResetToInitial() {}
    virtual void ApplySize() {}
    virtual bool IsHidden() const { return false; }
    // The value ONCHANGE watches: compared on leaving with what it was on entering.
    virtual std::string State() const { return {}; }
    // What the user made of it, kept while another page is shown and put back.
    virtual std::string Value() const { return State(); }
    virtual void SetValue(const std::string&) {}
    // What the user did, as the host reports it.
    virtual void Handle(ControlEvent event);
    // The element's styled width (pixels, or percent of the line) and height.
    void ApplyStyle(const Properties& properties);

    InlineSize SizeInLine(int availWidth, int availHeight) override;
    void PlaceAt(int x, int y) override;
    void Park() override;

    Form& form;
    std::string name, value, id, title;
    std::string onClick, onFocus, onBlur, onChange;  // the viewer's texts for the events
    bool disabled = false;
    bool active = false;  // it has the focus
    int specWidth = 0, specHeight = 0;
    bool percentWidth = false;
    int tabIndex = 0;  // TABINDEX; 0 when none
    int control = -1;  // the host's id; none for hidden fields
    int width = 0, height = 0;

protected:
    IControlHost& Host() const;

private:
    std::string m_savedState;
};

class HiddenControl : public FormControl
{
public:
    using FormControl::FormControl;
    bool Submission(int index, std::string& item) const override;
    bool IsHidden() const override { return true; }
};

class EditControl : public FormControl
{
public:
    EditControl(Form& form, const AttributeList& attributes, bool password);
    bool Submission(int index, std::string& item) const override;
    void ResetToInitial() override;
    void ApplySize() override;
    std::string State() const override;
    void SetValue(const std::string& text) override;
    void Handle(ControlEvent event) override;

    int editSize = 15;  // in average characters
};

enum class ButtonRole
{
    Submit,
    Reset,
    Plain,
    Browse  // fills the text box of a file field
};

class ButtonControl : public FormControl
{
public:
    ButtonControl(Form& form, const AttributeList& attributes, ButtonRole role);
    void ApplySize() override;
    void Handle(ControlEvent event) override;
    // A click: resets, submits or browses.
    void Click();

    ButtonRole role;
    EditControl* browseEdit = nullptr;
};

class CheckControl : public FormControl
{
public:
    CheckControl(Form& form, const AttributeList& attributes, bool radio);
    bool Submission(int index, std::string& item) const override;
    void ResetToInitial() override;
    void ApplySize() override;
    std::string State() const override;
    void SetValue(const std::string& state) override;
    void Handle(ControlEvent event) override;
    bool IsChecked() const;
    // A click on a radio button unchecks the others of its group.
    void Click();

    bool radio;
    bool initiallyChecked = false;
};

// INPUT TYPE=IMAGE: its picture stands in the text; a click on it submits the form with the
// point clicked. A hidden button takes the focus for it.
class ImageButtonControl : public FormControl, public IImageClick
{
public:
    ImageButtonControl(Form& form, const AttributeList& attributes);
    // "x=" and "y=" of the last click (named "name.x" and "name.y" when the button has a name);
    // the click is forgotten once sent.
    bool Submission(int index, std::string& item) const override;
    InlineSize SizeInLine(int, int) override { return {}; }
    void ClickAt(int x, int y) override;

    mutable int clickX = -1;
    int clickY = 0;
};

// SELECT: a list box with SIZE or MULTIPLE, else a drop-down list.
class ListControl : public FormControl
{
public:
    // Selection states beyond this many items are not watched for ONCHANGE.
    static constexpr int kWatchedItems = 51;

    ListControl(Form& form, const AttributeList& attributes);
    // One OPTION: its text (a space when empty) and the value it submits (its VALUE attribute
    // when not empty, else the text).
    void AddOption(std::u16string text, bool selected, const std::string& valueAttribute);
    bool Submission(int index, std::string& item) const override;
    void ResetToInitial() override;
    void ApplySize() override;
    std::string State() const override;
    std::string Value() const override;
    void SetValue(const std::string& value) override;

    struct Option
    {
        std::u16string text;
        std::string value;
        bool selected = false;
    };
    std::vector<Option> options;
    bool dropDown = false, multiple = false;
    int rows = -1;   // visible rows; -1 until sized
    int widest = 3;  // the widest option text
};

// TEXTAREA: several lines; with WRAP=HARD it submits its lines as shown.
class TextAreaControl : public FormControl
{
public:
    enum class Wrap
    {
        Off,
        Soft,
        Hard
    };
    TextAreaControl(Form& form, const AttributeList& attributes, const std::string& initialText);
    bool Submission(int index, std::string& item) const override;
    void ResetToInitial() override;
    void ApplySize() override;
    std::string State() const override;
    void SetValue(const std::string& text) override;

    int rows = 5, columns = 30;
    Wrap wrap = Wrap::Soft;
    std::string initialText;
};

class Form
{
public:
    Form(IControlHost& host, const AttributeList* attributes, int pixelsPerInch = 96);

    // The control an INPUT tag makes, by its TYPE (text when none or unknown); a file field makes
    // its text box and then its browse button, which is returned.
    FormControl& AddInput(const AttributeList& attributes);
    ListControl& AddSelect(const AttributeList& attributes);
    TextAreaControl& AddTextArea(const AttributeList& attributes, const std::string& text);

    std::vector<std::string> SubmissionList() const;
    void ResetControls();
    // Unchecks every other radio button of `radio`'s group.
    void DoRadios(const CheckControl& radio);
    // The focus to the previous or next radio button of `radio`'s group (staying at the ends).
    void MoveInGroup(const CheckControl& radio, bool forward);
    // Submits with the items of the enabled controls and the clicked button's own item.
    void Submit(const std::string& buttonItem);
    // Hands a host's event to the control it belongs to; false when none of this form's does.
    bool Dispatch(int controlId, ControlEvent event);

    IControlHost& host;
    std::string method = "Get", action, target, encType;
    std::vector<std::unique_ptr<FormControl>> controls;
    int nonHiddenCount = 0;
    int pixelsPerInch = 96;
    struct Submitted
    {
        std::string action, target, encType, method;
        std::vector<std::string> items;
    };
    // The viewer's hooks; without one nothing is submitted, reported or browsed for.
    std::function<void(const Submitted&)> onSubmit;
    std::function<void(FormControl&, ObjectEvent, const std::string& message)> onObjectEvent;
    std::function<void(EditControl& edit, std::string& fileName)> onFileBrowse;

private:
    template <class Control, class... Args>
    Control& Add(Args&&... args);
    std::vector<std::string> Items(bool enabledOnly) const;
};

// Hands a host's event to the form control it belongs to; false when none does.
bool DispatchControlEvent(const std::vector<std::unique_ptr<Form>>& forms, int controlId,
                          ControlEvent event);

// SIZE of a text box: a number of characters, or the first of "cols, rows".
int EditSizeOf(const AttributeList& attributes);

}  // namespace htmlview
