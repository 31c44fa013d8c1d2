// Form controls as real child windows of the viewer's paint area: edit boxes, buttons, check
// boxes, radio buttons, list boxes, drop-down lists and memos in the dialog font. The paint
// area's window procedure hands its WM_COMMAND messages to HandleCommand; keys the controls
// report themselves (Enter in a text box, arrow keys on a radio button) come through onEvent.
#pragma once

#include <windows.h>

#include <map>

#include "setup/htmlview/forms/control_host.h"

namespace htmlview {

class ControlHostWin32 : public IControlHost
{
public:
    explicit ControlHostWin32(HWND parent);
    ~ControlHostWin32() override;
    ControlHostWin32(const ControlHostWin32&) = delete;
    ControlHostWin32& operator=(const ControlHostWin32&) = delete;

    int Create(ControlKind kind, const std::u16string& text, bool enabled) override;
    void Destroy(int id) override;
    void Move(int id, int x, int y, int width, int height) override;
    ControlSize Size(int id) const override;
    std::u16string Text(int id) const override;
    void SetText(int id, const std::u16string& text) override;
    bool Checked(int id) const override;
    void SetChecked(int id, bool checked) override;
    void SetTabStop(int id, bool tabStop) override;
    void SetMaxLength(int id, int length) override;
    void SetFocus(int id) override;
    void SetTabOrder(const std::vector<int>& ids) override;
    int AverageCharWidth(int id) const override;
    ControlSize TextSize(int id, const std::u16string& text) const override;
    int ScrollBarWidth() const override;
    void ClearItems(int id) override;
    void AddItem(int id, const std::u16string& text) override;
    int ItemCount(int id) const override;
    bool ItemSelected(int id, int index) const override;
    void SelectItem(int id, int index, bool selected) override;
    int ItemIndex(int id) const override;
    void SetItemIndex(int id, int index) override;
    std::vector<std::u16string> ShownLines(int id) const override;

    // A WM_COMMAND of the parent: a click or a focus change of one of the controls is reported
    // through onEvent; false when the message is not about one of them.
    bool HandleCommand(WPARAM wParam, LPARAM lParam);
    HWND WindowOf(int id) const;
    // Where the paint area's point (0, 0) lies in the parent window: its frame, less the
    // sideways scroll. Moves after this are shifted by it.
    void SetOrigin(int x, int y);

private:
    struct Entry
    {
        HWND window = nullptr;
        ControlKind kind = ControlKind::Edit;
    };
    static LRESULT CALLBACK KeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR host);
    const Entry* Find(int id) const;
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HWND m_parent;
    HFONT m_font;
    std::map<int, Entry> m_entries;
    // Above the dialog's own command ids (IDOK, IDCANCEL ...), which Enter and Escape send.
    int m_next = 1000;
    int m_originX = 0, m_originY = 0;
};

}  // namespace htmlview
