#include "setup/htmlview/forms/form.h"

#include <algorithm>

#include "setup/htmlview/style/box_values.h"
#include "setup/htmlview/util/text.h"
#include "setup/htmlview/util/utf8.h"
#include "setup/htmlview/util/win_math.h"

namespace htmlview {

namespace {

bool SameGroup(const CheckControl& a, const CheckControl& b)
{
    return a.radio && b.radio && LowerAscii(a.name) == LowerAscii(b.name);
}

// A TEXTAREA's lines for submission: CR LF between them.
std::string JoinLines(const std::vector<std::u16string>& lines)
{
    std::u16string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += u"\r\n";
        joined += lines[i];
    }
    return Utf16ToUtf8(joined);
}

// A form control's own size stays below this, whatever the markup asks.
constexpr int kMaxControlSize = 10000;

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
    name = attributes.Text(Sym::Name);
    value = attributes.Text(Sym::Value);
    id = attributes.Text(Sym::Id);
    title = attributes.Text(Sym::Title);
    onClick = attributes.Text(Sym::Onclick);
    onFocus = attributes.Text(Sym::Onfocus);
    onBlur = attributes.Text(Sym::Onblur);
    onChange = attributes.Text(Sym::Onchange);
    disabled = attributes.Find(Sym::Disabled) != nullptr;
    if (const Attribute* index = attributes.Find(Sym::Tabindex); index && index->number >= 1)
        tabIndex = index->number;
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

void FormControl::Handle(ControlEvent event)
{
    auto report = [&](ObjectEvent kind, const std::string& message) {
        if (form.onObjectEvent && !message.empty())
            form.onObjectEvent(*this, kind, message);
    };
    switch (event) {
        case ControlEvent::Click:
            if (form.onObjectEvent)
                form.onObjectEvent(*this, ObjectEvent::Click, onClick);
            break;
        case ControlEvent::Enter:
            active = true;
            report(ObjectEvent::Focus, onFocus);
            if (!onChange.empty())
                m_savedState = State();
            break;
        case ControlEvent::Leave:
            active = false;
            if (!onChange.empty() && State() != m_savedState)
                report(ObjectEvent::Change, onChange);
            report(ObjectEvent::Blur, onBlur);
            break;
        default:
            break;
    }
}

void FormControl::ApplyStyle(const Properties& properties)
{
    BoxBases bases;
    bases.width = 100;
    const BoxPixels box = BoxPixelsOf(properties, bases);
    if (box.width != kAutoValue && box.width > 0) {
        const std::string* text = properties.Text(Width);
        const bool percent = text && text->find('%') != std::string::npos;
        if (!percent) {
            specWidth = std::min(box.width, kMaxControlSize);
            percentWidth = false;
        } else if (box.width <= 100) {
            specWidth = box.width;
            percentWidth = true;
        } else {
            percentWidth = false;
        }
    }
    if (box.height != kAutoValue && box.height > 0)
        specHeight = std::min(box.height, kMaxControlSize);
}

InlineSize FormControl::SizeInLine(int availWidth, int)
{
    ApplySize();
    if (percentWidth) {
        width = std::max(10, MulDivWin(std::max(0, availWidth), specWidth, 100));
        Host().Move(control, -4000, 0, width, height);
    }
    return {width, height};
}

void FormControl::PlaceAt(int x, int y)
{
    Host().Move(control, x, y, width, height);
}

void FormControl::Park()
{
    if (control >= 0)
        Host().Move(control, -4000, 0, width, height);
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

std::string EditControl::State() const
{
    return Utf16ToUtf8(Host().Text(control));
}

void EditControl::SetValue(const std::string& text)
{
    Host().SetText(control, Utf8ToUtf16(text));
}

void EditControl::Handle(ControlEvent event)
{
    // Enter in a text box submits the form without a button's item.
    if (event == ControlEvent::Return)
        form.Submit(std::string());
    else
        FormControl::Handle(event);
}

ButtonControl::ButtonControl(Form& form, const AttributeList& attributes, ButtonRole role)
    : FormControl(form, attributes), role(role)
{
    if (role == ButtonRole::Browse) {
        value.clear();
        name.clear();
        id.clear();
    }
    std::string caption = value;
    if (caption.empty())
        caption = role == ButtonRole::Submit   ? "Submit"
                  : role == ButtonRole::Reset  ? "Reset"
                  : role == ButtonRole::Browse ? "Browse..."
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

void ButtonControl::Handle(ControlEvent event)
{
    FormControl::Handle(event);
    if (event == ControlEvent::Click)
        Click();
}

void ButtonControl::Click()
{
    switch (role) {
        case ButtonRole::Reset:
            form.ResetControls();
            break;
        case ButtonRole::Submit:
            form.Submit(name.empty() ? std::string() : name + "=" + value);
            break;
        case ButtonRole::Browse:
            if (form.onFileBrowse && browseEdit) {
                std::string fileName = Utf16ToUtf8(Host().Text(browseEdit->control));
                form.onFileBrowse(*browseEdit, fileName);
                Host().SetText(browseEdit->control, Utf8ToUtf16(fileName));
            }
            break;
        case ButtonRole::Plain:
            break;
    }
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
            if (!check || check == this || !SameGroup(*check, *this))
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

std::string CheckControl::State() const
{
    return IsChecked() ? "1" : "0";
}

void CheckControl::SetValue(const std::string& state)
{
    Host().SetChecked(control, state == "1");
    if (radio)
        Host().SetTabStop(control, state == "1");
}

void CheckControl::Handle(ControlEvent event)
{
    if (event == ControlEvent::ArrowBack || event == ControlEvent::ArrowForward) {
        if (radio)
            form.MoveInGroup(*this, event == ControlEvent::ArrowForward);
        return;
    }
    if (event == ControlEvent::Click)
        Click();
    FormControl::Handle(event);
}

void CheckControl::Click()
{
    if (radio) {
        Host().SetChecked(control, true);
        Host().SetTabStop(control, true);
        form.DoRadios(*this);
    }
}

ImageButtonControl::ImageButtonControl(Form& form, const AttributeList& attributes)
    : FormControl(form, attributes)
{
    control = Host().Create(ControlKind::Button, u"", !disabled);
    Host().Move(control, -4000, 0, 1, 1);
}

bool ImageButtonControl::Submission(int index, std::string& item) const
{
    if (clickX < 0 || index > 1)
        return false;
    const std::string prefix = name.empty() ? std::string() : name + ".";
    if (index == 0) {
        item = prefix + "x=" + std::to_string(clickX);
    } else {
        item = prefix + "y=" + std::to_string(clickY);
        clickX = -1;
    }
    return true;
}

void ImageButtonControl::ClickAt(int x, int y)
{
    Host().SetFocus(control);
    Handle(ControlEvent::Click);
    clickX = std::max(0, x);
    clickY = std::max(0, y);
    if (!disabled)
        form.Submit(std::string());
}

ListControl::ListControl(Form& form, const AttributeList& attributes)
    : FormControl(form, attributes)
{
    multiple = attributes.Find(Sym::Multiple) != nullptr;
    const Attribute* size = attributes.Find(Sym::Size);
    dropDown = !multiple && !size;
    if (size)
        rows = std::clamp(size->number, 1, 1000);
    const ControlKind kind = dropDown   ? ControlKind::ComboBox
                             : multiple ? ControlKind::MultiListBox
                                        : ControlKind::ListBox;
    control = Host().Create(kind, u"", !disabled);
    Host().Move(control, -4000, 0, 0, 0);
}

void ListControl::AddOption(std::u16string text, bool selected, const std::string& valueAttribute)
{
    if (text.empty())
        text.push_back(u' ');
    Option& option = options.emplace_back();
    option.value = valueAttribute;
    if (option.value.empty())
        option.value = Utf16ToUtf8(text);
    option.selected = selected;
    widest = std::max(widest, Host().TextSize(control, text).width);
    option.text = std::move(text);
}

bool ListControl::Submission(int index, std::string& item) const
{
    if (dropDown) {
        if (index != 0)
            return false;
        const int chosen = Host().ItemIndex(control);
        item = chosen >= 0 && chosen < static_cast<int>(options.size())
                   ? name + "=" + options[chosen].value
                   : std::string();
        return true;
    }
    if (index >= Host().ItemCount(control) || index >= static_cast<int>(options.size()))
        return false;
    item = Host().ItemSelected(control, index) ? name + "=" + options[index].value : std::string();
    return true;
}

void ListControl::ResetToInitial()
{
    Host().ClearItems(control);
    int chosen = -1;
    for (int i = 0; i < static_cast<int>(options.size()); ++i) {
        Host().AddItem(control, options[i].text);
        if (options[i].selected)
            chosen = i;
    }
    if (multiple) {
        for (int i = 0; i < static_cast<int>(options.size()); ++i)
            Host().SelectItem(control, i, options[i].selected);
    } else {
        // The last selected option, else the first.
        Host().SetItemIndex(control, options.empty() ? -1 : std::max(chosen, 0));
    }
}

void ListControl::ApplySize()
{
    const int count = static_cast<int>(options.size());
    if (rows < 0)
        rows = std::max(1, std::min(8, count));
    if (dropDown)
        height = specHeight > 9 ? specHeight : Host().TextSize(control, u"A").height + 8;
    else
        height = specHeight >= 10 ? specHeight : Host().TextSize(control, u"A").height * rows + 4;
    if (percentWidth)
        width = 10;
    else
        width = specWidth >= 10 ? specWidth : Host().ScrollBarWidth() + widest + 10;
    width = std::min(width, kMaxControlSize);
    height = std::min(height, kMaxControlSize);
    Host().Move(control, -4000, 0, width, height);
}

std::string ListControl::State() const
{
    if (dropDown)
        return std::to_string(Host().ItemIndex(control));
    const int count = Host().ItemCount(control);
    std::string state = std::to_string(count) + ":";
    for (int i = 0; i < std::min(count, kWatchedItems); ++i)
        state += Host().ItemSelected(control, i) ? '1' : '0';
    return state;
}

std::string ListControl::Value() const
{
    if (dropDown)
        return std::to_string(Host().ItemIndex(control));
    std::string value;
    for (int i = 0; i < Host().ItemCount(control); ++i)
        value += Host().ItemSelected(control, i) ? '1' : '0';
    return value;
}

void ListControl::SetValue(const std::string& value)
{
    if (dropDown) {
        int index = -1;
        for (char c : value)
            if (c >= '0' && c <= '9')
                index = std::min(std::max(index, 0) * 10 + (c - '0'), 1000000);
        if (index < Host().ItemCount(control))
            Host().SetItemIndex(control, index);
        return;
    }
    const int count = std::min(Host().ItemCount(control), static_cast<int>(value.size()));
    for (int i = 0; i < count; ++i)
        Host().SelectItem(control, i, value[i] == '1');
}

TextAreaControl::TextAreaControl(Form& form, const AttributeList& attributes,
                                 const std::string& text)
    : FormControl(form, attributes), initialText(text)
{
    if (const Attribute* r = attributes.Find(Sym::Rows); r && r->number > 0)
        rows = std::min(r->number, 1000);
    if (const Attribute* c = attributes.Find(Sym::Cols); c && c->number > 0)
        columns = std::min(c->number, 1000);
    const std::string wrapText = LowerAscii(Trim(attributes.Text(Sym::Wrap)));
    wrap = wrapText == "off" ? Wrap::Off : wrapText == "hard" ? Wrap::Hard : Wrap::Soft;
    control = Host().Create(wrap == Wrap::Off ? ControlKind::MemoNoWrap : ControlKind::Memo,
                            Utf8ToUtf16(initialText), !disabled);
    Host().Move(control, -4000, 0, 0, 0);
}

bool TextAreaControl::Submission(int index, std::string& item) const
{
    if (index != 0)
        return false;
    item = name + "=" +
           (wrap == Wrap::Hard ? JoinLines(Host().ShownLines(control))
                               : Utf16ToUtf8(Host().Text(control)));
    return true;
}

void TextAreaControl::ResetToInitial()
{
    Host().SetText(control, Utf8ToUtf16(initialText));
}

void TextAreaControl::ApplySize()
{
    height = specHeight >= 10 ? specHeight : Host().TextSize(control, u"A").height * rows + 5;
    if (percentWidth)
        width = 50;
    else
        width = specWidth >= 10 ? specWidth : Host().TextSize(control, u"s").width * columns + 5;
    width = std::min(width, kMaxControlSize);
    height = std::min(height, kMaxControlSize);
    Host().Move(control, -4000, 0, width, height);
}

std::string TextAreaControl::State() const
{
    return Utf16ToUtf8(Host().Text(control));
}

void TextAreaControl::SetValue(const std::string& text)
{
    Host().SetText(control, Utf8ToUtf16(text));
}

Form::Form(IControlHost& host, const AttributeList* attributes, int pixelsPerInch)
    : host(host), pixelsPerInch(pixelsPerInch)
{
    if (!attributes)
        return;
    if (const Attribute* m = attributes->Find(Sym::Method))
        method = m->value.substr(0, 4);
    action = attributes->Text(Sym::Action);
    target = attributes->Text(Sym::Target);
    encType = attributes->Text(Sym::Enctype);
}

template <class Control, class... Args>
Control& Form::Add(Args&&... args)
{
    auto made = std::make_unique<Control>(*this, std::forward<Args>(args)...);
    Control& raw = *made;
    if (!raw.IsHidden())
        ++nonHiddenCount;
    controls.push_back(std::move(made));
    return raw;
}

FormControl& Form::AddInput(const AttributeList& attributes)
{
    const std::string type = LowerAscii(Trim(attributes.Text(Sym::Type)));
    if (type == "hidden")
        return Add<HiddenControl>(attributes);
    if (type == "submit")
        return Add<ButtonControl>(attributes, ButtonRole::Submit);
    if (type == "reset")
        return Add<ButtonControl>(attributes, ButtonRole::Reset);
    if (type == "button")
        return Add<ButtonControl>(attributes, ButtonRole::Plain);
    if (type == "checkbox" || type == "radio")
        return Add<CheckControl>(attributes, type == "radio");
    if (type == "image")
        return Add<ImageButtonControl>(attributes);
    if (type == "file") {
        EditControl& edit = Add<EditControl>(attributes, false);
        ButtonControl& browse = Add<ButtonControl>(attributes, ButtonRole::Browse);
        browse.browseEdit = &edit;
        return browse;
    }
    return Add<EditControl>(attributes, type == "password");
}

ListControl& Form::AddSelect(const AttributeList& attributes)
{
    return Add<ListControl>(attributes);
}

TextAreaControl& Form::AddTextArea(const AttributeList& attributes, const std::string& text)
{
    return Add<TextAreaControl>(attributes, text);
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
        if (check && check != &radio && SameGroup(*check, radio)) {
            const std::string before = check->State();
            host.SetChecked(check->control, false);
            host.SetTabStop(check->control, false);
            if (!check->onChange.empty() && check->State() != before && onObjectEvent)
                onObjectEvent(*check, ObjectEvent::Change, check->onChange);
        }
    }
}

void Form::MoveInGroup(const CheckControl& radio, bool forward)
{
    std::vector<const CheckControl*> group;
    std::size_t here = 0;
    for (const auto& other : controls)
        if (auto* check = dynamic_cast<const CheckControl*>(other.get());
            check && (check == &radio || SameGroup(*check, radio))) {
            if (check == &radio)
                here = group.size();
            group.push_back(check);
        }
    if (forward && here + 1 < group.size())
        ++here;
    else if (!forward && here > 0)
        --here;
    host.SetFocus(group[here]->control);
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

bool Form::Dispatch(int controlId, ControlEvent event)
{
    for (const auto& c : controls)
        if (c->control == controlId && controlId >= 0) {
            c->Handle(event);
            return true;
        }
    return false;
}

bool DispatchControlEvent(const std::vector<std::unique_ptr<Form>>& forms, int controlId,
                          ControlEvent event)
{
    for (const auto& form : forms)
        if (form->Dispatch(controlId, event))
            return true;
    return false;
}

}  // namespace htmlview
