// A small class tree for the component-model tests: a font-like owned object, controls with one
// property of every kind, a non-visual component, a collection and a form with published
// handlers.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "setup/forms/collection.h"
#include "setup/forms/component.h"
#include "setup/forms/property_types.h"
#include "setup/forms/strings.h"

namespace setup::forms {

enum TAlignment
{
    taLeftJustify,
    taRightJustify,
    taCenter,
};
FORMS_ENUM_TYPE(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

enum TFontStyle
{
    fsBold,
    fsItalic,
    fsUnderline,
    fsStrikeOut,
};
FORMS_ENUM_TYPE(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")

// An event with arguments beyond the sender, one of them answered by the handler.
struct TTestKeyEvent : TEvent<std::uint16_t&, int>
{
};
FORMS_EVENT_TYPE(TTestKeyEvent)

namespace testing {

class TTestFont : public TPersistent
{
public:
    FORMS_CLASS_INFO()
    void Assign(const TPersistent& source) override;

    std::string name = "MS Sans Serif";
    std::int32_t height = -11;
    TColor color = TColor(0);
    TFontCharset charset = TFontCharset(1);
    TSet<TFontStyle> style;
};

// Stands for a picture: keeps the bytes of its form-file property "Data" as they are.
class TTestPicture : public TPersistent
{
public:
    FORMS_CLASS_INFO()
    void Assign(const TPersistent& source) override;
    void DefineProperties(PropertyDefiner& definer) override;

    std::string data;
};

// A visual control: Left and Top are published, and the parent comes from the form file.
class TTestControl : public TComponent
{
public:
    FORMS_CLASS_INFO()
    explicit TTestControl(TComponent* owner);

    TTestFont* Font() const { return m_font.get(); }
    void SetFont(TTestFont* font) { m_font->Assign(*font); }
    TStrings* Lines() const { return m_lines.get(); }
    void SetLines(TStrings* lines) { m_lines->Assign(*lines); }
    TTestPicture* Picture() const { return m_picture.get(); }
    void SetPicture(TTestPicture* picture) { m_picture->Assign(*picture); }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    void SetParentComponent(TComponent* parent) override { parent_ = parent; }
    TComponent* GetParentComponent() const override { return parent_; }
    void Loaded() override;

    std::int32_t left = 0;
    std::int32_t top = 0;
    bool visible = true;
    TAlignment alignment = taLeftJustify;
    TCursor cursor = TCursor(0);
    TShortCut shortCut = TShortCut(0);
    char accelerator = 0;
    std::int64_t big = 0;
    double ratio = 0;
    TDateTime stamp;
    TDate day;
    TTime clock;
    TNotifyEvent onClick;
    TTestKeyEvent onKeyUp;
    TComponent* parent_ = nullptr;
    int captionWrites = 0;
    std::string focusAtLoaded;  // the FocusControl's name seen by Loaded, for the fix-up order

    TTestControl* focusControl = nullptr;

private:
    std::unique_ptr<TTestFont> m_font = std::make_unique<TTestFont>();
    std::unique_ptr<TStrings> m_lines = std::make_unique<TStrings>();
    std::unique_ptr<TTestPicture> m_picture = std::make_unique<TTestPicture>();
    std::string m_caption;
};

// FocusControl accepts only other controls; it is cleared when that control is freed.
class TTestLabel : public TTestControl
{
public:
    FORMS_CLASS_INFO()
    using TTestControl::TTestControl;
    TTestControl* FocusControl() const { return focusControl; }
    void SetFocusControl(TTestControl* control);

protected:
    void Notification(TComponent* component, Operation operation) override;
};

class TTestColumn : public TCollectionItem
{
public:
    FORMS_CLASS_INFO()
    using TCollectionItem::TCollectionItem;

    std::string caption;
    std::int32_t width = 50;
    TComponent* control = nullptr;
};

class TTestList : public TTestControl
{
public:
    FORMS_CLASS_INFO()
    explicit TTestList(TComponent* owner)
        : TTestControl(owner), m_columns(TTestColumn::StaticClass(), this)
    {}
    TCollection* Columns() const { return const_cast<TCollection*>(&m_columns); }

private:
    TCollection m_columns;
};

// Non-visual: no published Left and Top, so the form file's are its design position.
class TTestTimer : public TComponent
{
public:
    FORMS_CLASS_INFO()
    using TComponent::TComponent;
    std::int32_t interval = 1000;
    TNotifyEvent onTimer;
};

class TTestForm : public TComponent
{
public:
    FORMS_CLASS_INFO()
    explicit TTestForm(TComponent* owner = nullptr) : TComponent(owner) {}

    void Button1Click(TObject* sender) { clicks.push_back(sender); }
    void FormCreate(TObject* sender) { ++creates; }
    void FormCloseQuery(TObject* sender, bool& canClose) { canClose = allowClose; }
    // Swallows the key it is told to, and keeps the rest with their shift states.
    void Edit1KeyUp(TObject* sender, std::uint16_t& key, int shift)
    {
        keys.emplace_back(key, shift);
        if (key == swallowKey)
            key = 0;
    }

    std::string caption;
    std::int32_t clientWidth = 0;
    TNotifyEvent onCreate;
    TCloseQueryEvent onCloseQuery;
    bool allowClose = true;
    std::uint16_t swallowKey = 0;
    std::vector<std::pair<std::uint16_t, int>> keys;
    std::vector<TObject*> clicks;
    int creates = 0;
};

// A registry holding the test classes, as a page form registers its control classes.
void RegisterTestClasses(ClassRegistry& registry);

}  // namespace testing
}  // namespace setup::forms
