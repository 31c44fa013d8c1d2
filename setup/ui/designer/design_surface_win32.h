// The designer's window side: a get-message hook on the GUI thread hands every queued message
// to each designer in design mode (and drops what one swallowed), the form's own messages are
// looked at before its handling (activation places the handles, the first click on an inactive
// form only activates it), and the drag pictures, cursor, capture and hint are drawn with GDI.
#pragma once

#include <windows.h>

#include <functional>

#include "setup/ui/designer/design_surface.h"
#include "setup/ui/form.h"

namespace setup::ui {

class Win32DesignSurface final : public IDesignSurface
{
public:
    Win32DesignSurface() = default;
    ~Win32DesignSurface() override;
    Win32DesignSurface(const Win32DesignSurface&) = delete;
    Win32DesignSurface& operator=(const Win32DesignSurface&) = delete;

    void Attach(TFormDesigner& designer) override;
    void Detach(TFormDesigner& designer) override;
    void ProcessMessages() override;
    void SetCursor(DesignCursor cursor) override;
    void CaptureMouse(bool capture) override;
    void ConfineCursor(const TRect* formRect) override;
    void DrawFrames(TWinControl& parent, const std::vector<TRect>& rects) override;
    void DrawBand(const TRect& formRect) override;
    void DrawMultiSelectMarks(TControl& control) override;
    void ShowHint(const std::string& text, HintKind kind) override;
    void HideHint() override;
    TPoint CursorScreenPos() override;

private:
    HWND FormWindow() const;
    // The form's messages while design mode is on, before its own handling.
    bool FormMessage(TCustomForm& form, WindowMessage& message);
    TFormDesigner* m_designer = nullptr;
    TCustomForm* m_hookedForm = nullptr;
    std::function<bool(TCustomForm& form, WindowMessage& message)> m_savedHook;
    HWND m_hint = nullptr;
};

}  // namespace setup::ui
