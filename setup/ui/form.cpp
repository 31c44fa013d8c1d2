#include "setup/ui/form.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/application.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TCustomForm::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCustomForm>("TCustomForm", &TWinControl::StaticClass())
            .Property("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption)
            .Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
            .Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
            .Property("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
            .Property("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
            .Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle)
            .Property("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon)
            .Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
            .Property("OldCreateOrder", &TCustomForm::oldCreateOrder)
            .Property("PixelsPerInch", &TCustomForm::pixelsPerInch)
            .Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition)
            .Property("Scaled", &TCustomForm::scaled)
            .Property("TextHeight", &TCustomForm::textHeight)
            .Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState)
            .Property("OnActivate", &TCustomForm::onActivate)
            .Property("OnClose", &TCustomForm::onClose)
            .Property("OnCloseQuery", &TCustomForm::onCloseQuery)
            .Property("OnCreate", &TCustomForm::onCreate)
            .Property("OnDeactivate", &TCustomForm::onDeactivate)
            .Property("OnDestroy", &TCustomForm::onDestroy)
            .Property("OnHide", &TCustomForm::onHide)
            .Property("OnPaint", &TCustomForm::onPaint)
            .Property("OnResize", &TCustomForm::onResize)
            .Property("OnShow", &TCustomForm::onShow)
            .Build();
    return info;
}

TCustomForm::TCustomForm(forms::TComponent* owner)
    : TWinControl(owner), m_icon(std::make_unique<TIcon>())
{
    m_borderIcons.Include(biSystemMenu);
    m_borderIcons.Include(biMinimize);
    m_borderIcons.Include(biMaximize);
    SetVisible(false);
    SetParentColor(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
}

TCustomForm::~TCustomForm()
{
    if (m_application)
        m_application->RemoveForm(*this);
    // The controls go before the form's window: each takes its own window with it.
    DestroyComponents();
    DestroyHandle();
}

IPeerFactory* TCustomForm::PeerFactory() const
{
    if (Parent())
        return Parent()->PeerFactory();
    return m_application ? m_application->PeerFactory() : nullptr;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    const int clientWidth = m_clientWidth;
    const int clientHeight = m_clientHeight;
    m_borderStyle = style;
    SetClientWidth(clientWidth);
    SetClientHeight(clientHeight);
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons)
{
    if (icons == m_borderIcons)
        return;
    m_borderIcons = icons;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle style)
{
    m_formStyle = style;
    Changed(Aspect::Style);
}

void TCustomForm::SetWindowState(TWindowState state)
{
    m_windowState = state;
    Changed(Aspect::State);
}

TPoint TCustomForm::FrameExtra() const
{
    // The system's default metrics: a 3-pixel fixed frame or 4-pixel sizing frame and an 18- or
    // 15-pixel caption (plus its border line), as the windows come out under the usual theme.
    switch (m_borderStyle) {
        case TFormBorderStyle::bsNone:
            return {0, 0};
        case TFormBorderStyle::bsSingle:
        case TFormBorderStyle::bsDialog:
            return {6, 25};
        case TFormBorderStyle::bsToolWindow:
            return {6, 22};
        case TFormBorderStyle::bsSizeToolWin:
            return {8, 24};
        case TFormBorderStyle::bsSizeable:
            break;
    }
    return {8, 27};
}

void TCustomForm::SetClientWidth(std::int32_t width)
{
    SetBounds(m_left, m_top, width + FrameExtra().x, m_height);
}

void TCustomForm::SetClientHeight(std::int32_t height)
{
    SetBounds(m_left, m_top, m_width, height + FrameExtra().y);
}

void TCustomForm::SetBounds(int left, int top, int width, int height)
{
    const TPoint frame = FrameExtra();
    m_clientWidth = width - frame.x < 0 ? 0 : width - frame.x;
    m_clientHeight = height - frame.y < 0 ? 0 : height - frame.y;
    const bool resized = width != m_width || height != m_height;
    TWinControl::SetBounds(left, top, width, height);
    if (resized && !HasState(forms::csLoading))
        onResize(this);
}

void TCustomForm::Paint(TCanvas& canvas)
{
    if (PaintBackground)
        PaintBackground(canvas);
}

void TCustomForm::Show()
{
    SetVisibleShown(true);
}

void TCustomForm::SetWindowRegion(std::optional<std::vector<TRect>> region)
{
    m_windowRegion = std::move(region);
    Changed(Aspect::Shape);
}

void TCustomForm::SetGlassFrame(const TGlassFrame& glass)
{
    if (glass == m_glassFrame)
        return;
    m_glassFrame = glass;
    Changed(Aspect::Glass);
}

void TCustomForm::BeginUserMove()
{
    Changed(Aspect::UserMove);
}

void TCustomForm::Hide()
{
    SetVisibleShown(false);
}

void TCustomForm::SetVisibleShown(bool shown)
{
    if (shown == Visible())
        return;
    if (shown)
        HandleNeeded();
    SetVisible(shown);
    if (shown)
        onShow(this);
    else
        onHide(this);
}

std::int32_t TCustomForm::ShowModal()
{
    if (!m_application)
        throw rtl::Exception("Form '" + Name() + "' belongs to no application");
    IMessageLoop& loop = m_application->Loop();
    m_modalResult = mrNone;
    m_modal = true;
    Show();
    loop.DisableOtherWindows(*this, true);
    while (!m_application->Terminated()) {
        m_application->HandleMessage();
        if (m_modalResult == mrNone)
            continue;
        if (CloseQuery())
            break;
        m_modalResult = mrNone;
    }
    loop.DisableOtherWindows(*this, false);
    m_modal = false;
    Hide();
    return m_modalResult;
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    onCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (!CloseQuery())
        return;
    TCloseAction action = TCloseAction::caHide;
    onClose(this, action);
    if (action == TCloseAction::caNone)
        return;
    if (m_modal) {
        // The modal loop hides the form once it sees the result.
        if (m_modalResult == mrNone)
            m_modalResult = mrCancel;
        return;
    }
    if (action == TCloseAction::caMinimize)
        SetWindowState(TWindowState::wsMinimized);
    else
        Hide();
}

void TCustomForm::Activated()
{
    if (m_application)
        m_application->Screen().SetActiveForm(this);
    onActivate(this);
}

void TCustomForm::Deactivated()
{
    onDeactivate(this);
}

void TCustomForm::Loaded()
{
    TWinControl::Loaded();
    if (!m_created) {
        m_created = true;
        onCreate(this);
    }
}

const ClassInfo& TForm::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TForm>("TForm", &TCustomForm::StaticClass()).Build();
    return info;
}

}  // namespace setup::ui
