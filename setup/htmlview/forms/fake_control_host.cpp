#include "setup/htmlview/forms/fake_control_host.h"

namespace htmlview {

int FakeControlHost::Create(ControlKind kind, const std::u16string& text, bool enabled)
{
    Control& made = controls[next];
    made.kind = kind;
    made.text = text;
    made.enabled = enabled;
    return next++;
}

void FakeControlHost::Move(int id, int x, int y, int width, int height)
{
    Control& c = controls.at(id);
    c.x = x;
    c.y = y;
    c.width = width;
    if (height > 0)
        c.height = height;
}

ControlSize FakeControlHost::Size(int id) const
{
    return {controls.at(id).width, controls.at(id).height};
}

void FakeControlHost::SetFocus(int id)
{
    for (auto& [key, control] : controls)
        control.focused = key == id;
}

ControlSize FakeControlHost::TextSize(int, const std::u16string& text) const
{
    return {static_cast<int>(text.size()) * 7, 16};
}

void FakeControlHost::ClearItems(int id)
{
    Control& c = controls.at(id);
    c.items.clear();
    c.selected.clear();
    c.itemIndex = -1;
}

void FakeControlHost::AddItem(int id, const std::u16string& text)
{
    Control& c = controls.at(id);
    c.items.push_back(text);
    c.selected.push_back(false);
}

int FakeControlHost::ItemCount(int id) const
{
    return static_cast<int>(controls.at(id).items.size());
}

bool FakeControlHost::ItemSelected(int id, int index) const
{
    const Control& c = controls.at(id);
    if (index < 0 || index >= static_cast<int>(c.selected.size()))
        return false;
    return c.kind == ControlKind::MultiListBox ? c.selected[index] : index == c.itemIndex;
}

void FakeControlHost::SelectItem(int id, int index, bool selected)
{
    Control& c = controls.at(id);
    if (index >= 0 && index < static_cast<int>(c.selected.size()))
        c.selected[index] = selected;
}

void FakeControlHost::SetItemIndex(int id, int index)
{
    Control& c = controls.at(id);
    c.itemIndex = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
}

std::vector<std::u16string> FakeControlHost::ShownLines(int id) const
{
    const Control& c = controls.at(id);
    std::vector<std::u16string> lines;
    std::u16string line;
    for (char16_t ch : c.text) {
        if (ch == u'\r')
            continue;
        if (ch == u'\n' || static_cast<int>(line.size()) == memoColumns) {
            lines.push_back(line);
            line.clear();
            if (ch == u'\n')
                continue;
        }
        line.push_back(ch);
    }
    lines.push_back(line);
    return lines;
}

void FakeControlHost::Raise(int id, ControlEvent event)
{
    if (event == ControlEvent::Enter)
        SetFocus(id);
    if (onEvent)
        onEvent(id, event);
}

}  // namespace htmlview
