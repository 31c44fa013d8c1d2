#include "setup/htmlview/forms/form.h"

#include <algorithm>

#include "setup/htmlview/util/text.h"
#include "setup/htmlview/util/utf8.h"

namespace htmlview {

namespace {

std::string AttributeText(const AttributeList& attributes, Sym symbol)
{
    const Attribute* attribute = attributes.Find(symbol);
    return attribute ? attribute->value : std::string();
}

}  // namespace

int EditSizeOf(const AttributeList& attributes)
{
    const Attribute* size = attributes.Find(Sym::Size);
    if (!size)
        return 15;
    if (size->number >= 1)
        return size->number;
    const std::string& text = size->value;
    const std::size_t space = text.find(' '), comma = text.find(',');
    if (space == std::string::npos || comma == std::string::npos)
        return 15;
    const std::size_t first = std::min(space, comma);
    if (first == 0)
        return 15;
    int number = 0;
    for (std::size_t i = 0; i < first; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 20;
        number = std::min(number * 10 + (text[i] - '0'), 10000);
    }
    return number;
}

FormControl::FormControl(Form& form, const AttributeList& attributes) : form(form)
{
    name = AttributeText(attributes, Sym::Name);
    value = AttributeText(attributes, Sym::Value);
    id = AttributeText(attributes, Sym::Id);
    title = AttributeText(attributes, Sym::Title);
    disabled = attributes.Find(Sym::Disabled) != nullptr;
}

FormControl::~FormControl()
{
    if (control >= 0)
        form.host.Destroy(control);
}

IControlHost& FormControl::Host() const
{
    return form.host;
}

bool FormControl::Submission(int, std::string&) const
{
    return false;
}

bool HiddenControl::Submission(int index, std::string& item) const
{
    if (index != 0)
        return false;
    item = name + "=" + value;
    return true;
}

EditControl::EditControl(Form& form, const AttributeList& attributes, bool password)
    : FormControl(form, attributes), editSize(EditSizeOf(attributes))
{
    control = Host().Create(password ? ControlKind::Password : ControlKind::Edit,
                            Utf8ToUtf16(value), !disabled);
    Host().Move(control, -4000, 0, 120, 20);
    if (const Attribute* length = attributes.Find(Sym::Maxlength); length && length->number > 0)
        Host().SetMaxLength(control, length->number);
}

bool EditControl::Submission(int index, std::string& item) const
{
    if (index != 0)
        return false;
    item = name + "=" + Utf16ToUtf8(Host().Text(control));
    return true;
}

void EditControl::ResetToInitial()
{
    Host().SetText(control, Utf8ToUtf16(value));
}

void EditControl::ApplySize()
{
    if (percentWidth) {
        width = 10;  // the line layout gives it its share
    } else {
        width = specWidth >= 10 ? specWidth : Host().AverageCharWidth(control) * editSize + 23;
    }
    height = std::max(Host().Size(control).height, specHeight);
    Host().Move(control, -4000, 0, width, height);
}

ButtonControl::ButtonControl(Form& form, const AttributeList& attributes, ButtonRole role)
    : FormControl(form, attributes), role(role)
{
    std::string caption = value;
    if (caption.empty())
        caption = role == ButtonRole::Submit  ? "Submit"
                  : role == ButtonRole::Reset ? "Reset"
                                              : "Button";
    control = Host().Create(ControlKind::Button, Utf8ToUtf16(caption), !disabled);
    Host().Move(control, -4000, 0, 0, 0);
}

void ButtonControl::ApplySize()
{
    const ControlSize letter = Host().TextSize(control, u"A");
    height = specHeight < letter.height ? letter.height + 8 : specHeight;
    width = specWidth < 10 || percentWidth
                ? Host().TextSize(control, Host().Text(control)).width + 20
                : specWidth;
    Host().Move(control, -4000, 0, width, height);
}

void ButtonControl::Click()
{
    if (role == ButtonRole::Reset)
        form.ResetControls();
    else if (role == ButtonRole::Submit)
        form.Submit(name.empty() ? std::string() : name + "=" + value);
}

CheckControl::CheckControl(Form& form, const AttributeList& attributes, bool radio)
    : FormControl(form, attributes), radio(radio)
{
    if (value.empty() && !radio)
        value = "on";
    initiallyChecked = attributes.Find(Sym::Checked) != nullptr;
    control = Host().Create(radio ? ControlKind::Radio : ControlKind::CheckBox, u"", !disabled);
    if (radio) {
        bool firstOfGroup = true;
        for (const auto& other : form.controls) {
            auto* check = dynamic_cast<CheckControl*>(other.get());
            if (!check || check == this || !check->radio ||
                LowerAscii(check->name) != LowerAscii(name))
                continue;
            firstOfGroup = false;
            if (initiallyChecked) {
                check->initiallyChecked = false;
                Host().SetChecked(check->control, false);
                Host().SetTabStop(check->control, false);
            }
        }
        Host().SetTabStop(control, initiallyChecked || firstOfGroup);
    }
    Host().SetChecked(control, initiallyChecked);
    ApplySize();
}

bool CheckControl::IsChecked() const
{
    return Host().Checked(control);
}

bool CheckControl::Submission(int index, std::string& item) const
{
    if (index != 0 || !IsChecked())
        return false;
    item = name + "=" + value;
    return true;
}

void CheckControl::ResetToInitial()
{
    Host().SetChecked(control, initiallyChecked);
}

void CheckControl::ApplySize()
{
    width = radio ? (form.pixelsPerInch >= 101 ? 16 : 13) : 13;
    height = radio ? (form.pixelsPerInch >= 101 ? 16 : 14) : 13;
    Host().Move(control, -4000, 0, width, height);
}

void CheckControl::Click()
{
    if (radio) {
        Host().SetChecked(control, true);
        form.DoRadios(*this);
    }
}

Form::Form(IControlHost& host, const AttributeList* attributes, int pixelsPerInch)
    : host(host), pixelsPerInch(pixelsPerInch)
{
    if (!attributes)
        return;
    if (const Attribute* m = attributes->Find(Sym::Method))
        method = m->value.substr(0, 4);
    action = AttributeText(*attributes, Sym::Action);
    target = AttributeText(*attributes, Sym::Target);
    encType = AttributeText(*attributes, Sym::Enctype);
}

FormControl& Form::AddInput(const AttributeList& attributes)
{
    const std::string type = LowerAscii(Trim(AttributeText(attributes, Sym::Type)));
    std::unique_ptr<FormControl> made;
    if (type == "hidden")
        made = std::make_unique<HiddenControl>(*this, attributes);
    else if (type == "submit")
        made = std::make_unique<ButtonControl>(*this, attributes, ButtonRole::Submit);
    else if (type == "reset")
        made = std::make_unique<ButtonControl>(*this, attributes, ButtonRole::Reset);
    else if (type == "button")
        made = std::make_unique<ButtonControl>(*this, attributes, ButtonRole::Plain);
    else if (type == "checkbox" || type == "radio")
        made = std::make_unique<CheckControl>(*this, attributes, type == "radio");
    else
        made = std::make_unique<EditControl>(*this, attributes, type == "password");
    if (!made->IsHidden())
        ++nonHiddenCount;
    controls.push_back(std::move(made));
    return *controls.back();
}

std::vector<std::string> Form::Items(bool enabledOnly) const
{
    std::vector<std::string> items;
    for (const auto& control : controls) {
        if (enabledOnly && control->disabled)
            continue;
        std::string item;
        for (int index = 0; control->Submission(index, item); ++index)
            if (!item.empty())
                items.push_back(item);
    }
    return items;
}

std::vector<std::string> Form::SubmissionList() const
{
    return Items(false);
}

void Form::ResetControls()
{
    for (const auto& control : controls)
        control->ResetToInitial();
}

void Form::DoRadios(const CheckControl& radio)
{
    if (radio.name.empty())
        return;
    for (const auto& other : controls) {
        auto* check = dynamic_cast<CheckControl*>(other.get());
        if (check && check != &radio && check->radio &&
            LowerAscii(check->name) == LowerAscii(radio.name)) {
            host.SetChecked(check->control, false);
            host.SetTabStop(check->control, false);
        }
    }
}

void Form::Submit(const std::string& buttonItem)
{
    if (!onSubmit)
        return;
    Submitted result{action, target, encType, method, Items(true)};
    if (!buttonItem.empty())
        result.items.push_back(buttonItem);
    onSubmit(result);
}

}  // namespace htmlview
