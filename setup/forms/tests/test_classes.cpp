#include "setup/forms/tests/test_classes.h"

#include "setup/forms/class_builder.h"

namespace setup::forms::testing {

const ClassInfo& TTestFont::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TTestFont>("TFont", &TPersistent::StaticClass())
                                      .Property("Name", &TTestFont::name)
                                      .Property("Height", &TTestFont::height)
                                      .Property("Color", &TTestFont::color)
                                      .Property("Charset", &TTestFont::charset)
                                      .Property("Style", &TTestFont::style)
                                      .Build();
    return info;
}

void TTestFont::Assign(const TPersistent& source)
{
    if (const auto* font = dynamic_cast<const TTestFont*>(&source)) {
        *this = *font;
        return;
    }
    TPersistent::Assign(source);
}

const ClassInfo& TTestPicture::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TTestPicture>("TPicture", &TPersistent::StaticClass()).Build();
    return info;
}

void TTestPicture::Assign(const TPersistent& source)
{
    if (const auto* picture = dynamic_cast<const TTestPicture*>(&source)) {
        data = picture->data;
        return;
    }
    TPersistent::Assign(source);
}

void TTestPicture::DefineProperties(PropertyDefiner& definer)
{
    definer.DefineBinaryProperty(
        "Data", [this](std::string_view bytes) { data = bytes; },
        [this]() -> std::optional<std::string> {
            if (data.empty())
                return std::nullopt;
            return data;
        });
}

const ClassInfo& TTestControl::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TTestControl>("TTestControl", &TComponent::StaticClass())
            .Property("Left", &TTestControl::left)
            .Property("Top", &TTestControl::top)
            .Property("Caption", &TTestControl::Caption, &TTestControl::SetCaption)
            .Property("Visible", &TTestControl::visible)
            .Property("Alignment", &TTestControl::alignment)
            .Property("Cursor", &TTestControl::cursor)
            .Property("ShortCut", &TTestControl::shortCut)
            .Property("Accelerator", &TTestControl::accelerator)
            .Property("Big", &TTestControl::big)
            .Property("Ratio", &TTestControl::ratio)
            .Property("Stamp", &TTestControl::stamp)
            .Property("Day", &TTestControl::day)
            .Property("Clock", &TTestControl::clock)
            .Property("Font", &TTestControl::Font, &TTestControl::SetFont)
            .Property("Lines", &TTestControl::Lines, &TTestControl::SetLines)
            .Property("Picture", &TTestControl::Picture, &TTestControl::SetPicture)
            .Property("OnClick", &TTestControl::onClick)
            .Property("OnKeyUp", &TTestControl::onKeyUp)
            .Build();
    return info;
}

TTestControl::TTestControl(TComponent* owner) : TComponent(owner) {}

void TTestControl::SetCaption(const std::string& caption)
{
    m_caption = caption;
    ++captionWrites;
}

void TTestControl::Loaded()
{
    TComponent::Loaded();
    focusAtLoaded = focusControl ? focusControl->Name() : "";
}

const ClassInfo& TTestLabel::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TTestLabel>("TTestLabel", &TTestControl::StaticClass())
            .Property("FocusControl", &TTestLabel::FocusControl, &TTestLabel::SetFocusControl)
            .Build();
    return info;
}

void TTestLabel::SetFocusControl(TTestControl* control)
{
    if (focusControl)
        RemoveFreeNotification(focusControl);
    focusControl = control;
    if (control)
        FreeNotification(control);
}

void TTestLabel::Notification(TComponent* component, Operation operation)
{
    TTestControl::Notification(component, operation);
    if (operation == Operation::Remove && component == focusControl)
        focusControl = nullptr;
}

const ClassInfo& TTestColumn::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TTestColumn>("TTestColumn", &TCollectionItem::StaticClass())
            .Property("Caption", &TTestColumn::caption)
            .Property("Width", &TTestColumn::width)
            .Property("Control", &TTestColumn::control)
            .Build();
    return info;
}

const ClassInfo& TTestList::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TTestList>("TTestList", &TTestControl::StaticClass())
                                      .Property("Columns", &TTestList::Columns)
                                      .Build();
    return info;
}

const ClassInfo& TTestTimer::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TTestTimer>("TTestTimer", &TComponent::StaticClass())
                                      .Property("Interval", &TTestTimer::interval)
                                      .Property("OnTimer", &TTestTimer::onTimer)
                                      .Build();
    return info;
}

const ClassInfo& TTestForm::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TTestForm>("TTestForm", &TComponent::StaticClass())
                                      .Property("Caption", &TTestForm::caption)
                                      .Property("ClientWidth", &TTestForm::clientWidth)
                                      .Property("OnCreate", &TTestForm::onCreate)
                                      .Property("OnCloseQuery", &TTestForm::onCloseQuery)
                                      .Method("Button1Click", &TTestForm::Button1Click)
                                      .Method("FormCreate", &TTestForm::FormCreate)
                                      .Method("FormCloseQuery", &TTestForm::FormCloseQuery)
                                      .Method("Edit1KeyUp", &TTestForm::Edit1KeyUp)
                                      .Build();
    return info;
}

void RegisterTestClasses(ClassRegistry& registry)
{
    for (const ClassInfo* info : {&TTestControl::StaticClass(), &TTestLabel::StaticClass(),
                                  &TTestList::StaticClass(), &TTestTimer::StaticClass()})
        registry.Register(*info);
}

}  // namespace setup::forms::testing
