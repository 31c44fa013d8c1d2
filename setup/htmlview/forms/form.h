// A FORM and its INPUT controls: what they submit, how they reset, radio groups, and their
// sizes. The window controls behind them come from an IControlHost.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/htmlview/forms/control_host.h"
#include "setup/htmlview/parser/attributes.h"

namespace htmlview {

class Form;

class FormControl
{
public:
    FormControl(Form& form, const AttributeList& attributes);
    virtual ~FormControl();
    FormControl(const FormControl&) = delete;
    FormControl& operator=(const FormControl&) = delete;

    // Item `index` of what the control submits ("name=value"); false past the last.
    virtual bool Submission(int index, std::string& item) const;
    virtual void ResetToInitial() {}
    virtual void ApplySize() {}
    virtual bool IsHidden() const { return false; }

    Form& form;
    std::string name, value, id, title;
    bool disabled = false;
    int specWidth = 0, specHeight = 0;
    bool percentWidth = false;
    int control = -1;  // the host's id; none for hidden fields
    int width = 0, height = 0;

protected:
    IControlHost& Host() const;
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

    int editSize = 15;  // in average characters
};

enum class ButtonRole
{
    Submit,
    Reset,
    Plain
};

class ButtonControl : public FormControl
{
public:
    ButtonControl(Form& form, const AttributeList& attributes, ButtonRole role);
    void ApplySize() override;
    // A click: resets or submits the form.
    void Click();

    ButtonRole role;
};

class CheckControl : public FormControl
{
public:
    CheckControl(Form& form, const AttributeList& attributes, bool radio);
    bool Submission(int index, std::string& item) const override;
    void ResetToInitial() override;
    void ApplySize() override;
    bool IsChecked() const;
    // A click on a radio button unchecks the others of its group.
    void Click();

    bool radio;
    bool initiallyChecked = false;
};

class Form
{
public:
    Form(IControlHost& host, const AttributeList* attributes, int pixelsPerInch = 96);

    // The control an INPUT tag makes, by its TYPE (text when none or unknown).
    FormControl& AddInput(const AttributeList& attributes);

    std::vector<std::string> SubmissionList() const;
    void ResetControls();
    // Unchecks every other radio button of `radio`'s group.
    void DoRadios(const CheckControl& radio);
    // Submits with the items of the enabled controls and the clicked button's own item.
    void Submit(const std::string& buttonItem);

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
    // The viewer's submit hook; without one nothing is submitted.
    std::function<void(const Submitted&)> onSubmit;

private:
    std::vector<std::string> Items(bool enabledOnly) const;
};

// SIZE of a text box: a number of characters, or the first of "cols, rows".
int EditSizeOf(const AttributeList& attributes);

}  // namespace htmlview
