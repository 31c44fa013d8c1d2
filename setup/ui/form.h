// TForm: a top-level window holding a page's controls. Border, position and client size are
// fields until the window exists; closing asks CloseQuery and OnClose; ShowModal runs the
// application's message loop until a modal result is set.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>
#include <memory>

#include "setup/ui/control.h"
#include "setup/ui/picture.h"

namespace setup::ui {

class TApplication;

enum class TFormBorderStyle
{
    bsNone,
    bsSingle,
    bsSizeable,
    bsDialog,
    bsToolWindow,
    bsSizeToolWin,
};
enum TBorderIcon
{
    biSystemMenu,
    biMinimize,
    biMaximize,
    biHelp,
};
using TBorderIcons = TSet<TBorderIcon>;
enum class TPosition
{
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};
enum class TFormStyle
{
    fsNormal,
    fsMDIChild,
    fsMDIForm,
    fsStayOnTop,
};
enum class TWindowState
{
    wsNormal,
    wsMinimized,
    wsMaximized,
};
enum class TCloseAction
{
    caNone,
    caHide,
    caFree,
    caMinimize,
};

// Modal results of the standard buttons.
enum TModalResult : std::int32_t
{
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

struct TCloseEvent : forms::TEvent<TCloseAction&>
{
};

// How far the window's glass frame reaches into the client area (Windows Vista and later, with
// desktop composition); a sheet of glass covers the whole window.
struct TGlassFrame
{
    bool enabled = false;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool sheetOfGlass = false;
    bool operator==(const TGlassFrame&) const = default;
};

// A window message offered to a form before its default handling.
struct WindowMessage
{
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::intptr_t result = 0;
};

class TCustomForm : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TCustomForm(forms::TComponent* owner);
    ~TCustomForm() override;

    TApplication* Application() const { return m_application; }
    void SetApplication(TApplication* application) { m_application = application; }
    IPeerFactory* PeerFactory() const override;

    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return m_borderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition position) { m_position = position; }
    TFormStyle FormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle style);
    TWindowState WindowState() const { return m_windowState; }
    void SetWindowState(TWindowState state);
    bool KeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool preview) { m_keyPreview = preview; }
    TIcon* Icon() const { return m_icon.get(); }
    void SetIcon(TIcon* icon) { m_icon->Assign(*icon); }
    // Extended window styles added to the usual ones (a page asks for its own taskbar button).
    std::uint32_t ExtraExStyle() const { return m_extraExStyle; }
    void SetExtraExStyle(std::uint32_t style) { m_extraExStyle = style; }
    // The window that owns the form's window (a question stays above its page); set before the
    // window exists. The owner-centred positions centre on it.
    std::uintptr_t OwnerWindow() const { return m_ownerWindow; }
    void SetOwnerWindow(std::uintptr_t window) { m_ownerWindow = window; }

    // The client area is the truth for layout; Width and Height add the frame of the border.
    std::int32_t ClientWidth() const { return m_clientWidth; }
    void SetClientWidth(std::int32_t width);
    std::int32_t ClientHeight() const { return m_clientHeight; }
    void SetClientHeight(std::int32_t height);
    TRect ClientRect() const override { return {0, 0, m_clientWidth, m_clientHeight}; }
    void SetBounds(int left, int top, int width, int height) override;
    // The frame's width and height around the client area for the border style.
    TPoint FrameExtra() const;

    std::int32_t ModalResult() const { return m_modalResult; }
    void SetModalResult(std::int32_t result) { m_modalResult = result; }

    void Show();
    void Hide();
    const TGlassFrame& GlassFrame() const { return m_glassFrame; }
    void SetGlassFrame(const TGlassFrame& glass);
    // The window's outline as rectangles in window coordinates; none is the whole rectangle.
    const std::optional<std::vector<TRect>>& WindowRegion() const { return m_windowRegion; }
    void SetWindowRegion(std::optional<std::vector<TRect>> region);
    // Hands the mouse to the system's move loop, as a press on the caption would.
    void BeginUserMove();
    // Shows the form, runs the message loop until a modal result is set and the form may close,
    // then hides it; returns the result.
    std::int32_t ShowModal();
    bool Modal() const { return m_modal; }
    // Asks OnCloseQuery; true lets the form close.
    virtual bool CloseQuery();
    // Asks CloseQuery, then OnClose; hides the form unless the handler keeps it.
    void Close();

    // Offered every message of the form's window first; true means handled.
    std::function<bool(TCustomForm& form, WindowMessage& message)> MessageHook;
    // Drawn over the form's colour, under its controls: a designer's grid.
    std::function<void(TCanvas& canvas)> PaintBackground;
    void Paint(TCanvas& canvas) override;
    // Called by the window when the user activates or leaves it.
    void Activated();
    void Deactivated();

    // OnCreate runs once the form file is read; OnDestroy is for the owner to run before freeing
    // the form, while a derived form's handlers still exist.
    TNotifyEvent onCreate;
    TNotifyEvent onDestroy;
    TNotifyEvent onShow;
    TNotifyEvent onHide;
    TNotifyEvent onActivate;
    TNotifyEvent onDeactivate;
    TNotifyEvent onResize;
    TNotifyEvent onPaint;
    TCloseEvent onClose;
    forms::TCloseQueryEvent onCloseQuery;

    void Loaded() override;

    // Stored by design tools; no scaling is applied.
    std::int32_t pixelsPerInch = 96;
    std::int32_t textHeight = 13;
    bool scaled = true;
    bool oldCreateOrder = false;

private:
    void SetVisibleShown(bool shown);

    TApplication* m_application = nullptr;
    TFormBorderStyle m_borderStyle = TFormBorderStyle::bsSizeable;
    std::optional<std::vector<TRect>> m_windowRegion;
    TGlassFrame m_glassFrame;
    TBorderIcons m_borderIcons;
    TPosition m_position = TPosition::poDesigned;
    TFormStyle m_formStyle = TFormStyle::fsNormal;
    TWindowState m_windowState = TWindowState::wsNormal;
    bool m_keyPreview = false;
    std::unique_ptr<TIcon> m_icon;
    std::uint32_t m_extraExStyle = 0;
    std::uintptr_t m_ownerWindow = 0;
    std::int32_t m_clientWidth = 0;
    std::int32_t m_clientHeight = 0;
    std::int32_t m_modalResult = 0;
    bool m_modal = false;
    bool m_created = false;
};

class TForm : public TCustomForm
{
public:
    FORMS_CLASS_INFO()
    explicit TForm(forms::TComponent* owner = nullptr) : TCustomForm(owner) {}
};

}  // namespace setup::ui

UI_ENUM_TYPE(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
             "bsSizeToolWin")
UI_ENUM_TYPE(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
UI_ENUM_TYPE(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
             "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
UI_ENUM_TYPE(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")
UI_ENUM_TYPE(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")
UI_ENUM_TYPE(TCloseAction, "caNone", "caHide", "caFree", "caMinimize")
UI_EVENT_TYPE(TCloseEvent)
