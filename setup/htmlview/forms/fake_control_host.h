// A control host without windows: it keeps each control's state in memory, so forms are built,
// filled and submitted in tests and fuzzing. Every control's font is 7 pixels a character and 16
// high; a memo wraps its text every `memoColumns` characters.
#pragma once

#include <map>

#include "setup/htmlview/forms/control_host.h"

namespace htmlview {

class FakeControlHost : public IControlHost
{
public:
    struct Control
    {
        ControlKind kind = ControlKind::Edit;
        std::u16string text;
        bool enabled = true, checked = false, tabStop = false, focused = false;
        int x = 0, y = 0, width = 0, height = 20, maxLength = 0;
        std::vector<std::u16string> items;
        std::vector<bool> selected;
        int itemIndex = -1;
    };

    int Create(ControlKind kind, const std::u16string& text, bool enabled) override;
    void Destroy(int id) override { controls.erase(id); }
    void Move(int id, int x, int y, int width, int height) override;
    ControlSize Size(int id) const override;
    std::u16string Text(int id) const override { return controls.at(id).text; }
    void SetText(int id, const std::u16string& text) override { controls.at(id).text = text; }
    bool Checked(int id) const override { return controls.at(id).checked; }
    void SetChecked(int id, bool checked) override { controls.at(id).checked = checked; }
    void SetTabStop(int id, bool tabStop) override { controls.at(id).tabStop = tabStop; }
    void SetMaxLength(int id, int length) override { controls.at(id).maxLength = length; }
    void SetFocus(int id) override;
    void SetTabOrder(const std::vector<int>& ids) override { tabOrder = ids; }
    int AverageCharWidth(int) const override { return 7; }
    ControlSize TextSize(int, const std::u16string& text) const override;
    int ScrollBarWidth() const override { return 17; }
    void ClearItems(int id) override;
    void AddItem(int id, const std::u16string& text) override;
    int ItemCount(int id) const override;
    bool ItemSelected(int id, int index) const override;
    void SelectItem(int id, int index, bool selected) override;
    int ItemIndex(int id) const override { return controls.at(id).itemIndex; }
    void SetItemIndex(int id, int index) override;
    std::vector<std::u16string> ShownLines(int id) const override;

    // What the user would do: the event reaches the form as from a real window.
    void Raise(int id, ControlEvent event);

    std::map<int, Control> controls;
    std::vector<int> tabOrder;
    int next = 1;
    int memoColumns = 10;
};

}  // namespace htmlview
