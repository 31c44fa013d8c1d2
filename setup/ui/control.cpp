#include "setup/ui/control.h"

#include <algorithm>

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/class_builder.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TControl::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TControl>("TControl", &forms::TComponent::StaticClass())
            .Property("Left", &TControl::Left, &TControl::SetLeft)
            .Property("Top", &TControl::Top, &TControl::SetTop)
            .Property("Width", &TControl::Width, &TControl::SetWidth)
            .Property("Height", &TControl::Height, &TControl::SetHeight)
            .Property("Align", &TControl::Align, &TControl::SetAlign)
            .Property("Anchors", &TControl::Anchors, &TControl::SetAnchors)
            .Property("Color", &TControl::Color, &TControl::SetColor)
            .Property("Cursor", &TControl::Cursor, &TControl::SetCursor)
            .Property("Enabled", &TControl::Enabled, &TControl::SetEnabled)
            .Property("Font", &TControl::Font, &TControl::SetFont)
            .Property("Hint", &TControl::Hint, &TControl::SetHint)
            .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
            .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
            .Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
            .Property("Visible", &TControl::Visible, &TControl::SetVisible)
            .Property("OnClick", &TControl::onClick)
            .Property("OnDblClick", &TControl::onDblClick)
            .Property("OnMouseDown", &TControl::onMouseDown)
            .Property("OnMouseUp", &TControl::onMouseUp)
            .Build();
    return info;
}

TControl::TControl(forms::TComponent* owner) : TComponent(owner), m_font(std::make_unique<TFont>())
{
    m_font->OnChange = [this] {
        m_parentFont = false;
        Changed(Aspect::Font);
        if (auto* self = dynamic_cast<TWinControl*>(this))
            for (TControl* child : self->Controls())
                child->ParentFontChanged();
    };
}

TControl::~TControl()
{
    if (m_parent)
        m_parent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == m_parent)
        return;
    if (parent == this)
        throw rtl::Exception("A control cannot be its own parent");
    if (m_parent)
        m_parent->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

void TControl::SetParentComponent(forms::TComponent* parent)
{
    if (auto* control = dynamic_cast<TWinControl*>(parent))
        SetParent(control);
}

forms::TComponent* TControl::GetParentComponent() const
{
    return m_parent;
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == m_left && top == m_top && width == m_width && height == m_height)
        return;
    // The old place needs repainting too when the control has no window of its own.
    if (m_parent && !dynamic_cast<TWinControl*>(this))
        m_parent->Changed(Aspect::Paint);
    m_left = left;
    m_top = top;
    m_width = width < 0 ? 0 : width;
    m_height = height < 0 ? 0 : height;
    Changed(Aspect::Bounds);
    if (m_parent && m_align != alNone)
        m_parent->AlignControls();
}

void TControl::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    Changed(Aspect::Visible);
    if (m_parent && m_align != alNone)
        m_parent->AlignControls();
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Changed(Aspect::Enabled);
}

void TControl::SetCaption(const std::string& text)
{
    if (text == m_text)
        return;
    m_text = text;
    Changed(Aspect::Text);
}

void TControl::SetParentFont(bool parentFont)
{
    m_parentFont = parentFont;
    if (parentFont)
        ParentFontChanged();
}

void TControl::SetColor(TColor color)
{
    if (color == m_color && !m_parentColor)
        return;
    m_color = color;
    m_parentColor = false;
    Changed(Aspect::Color);
}

void TControl::SetParentColor(bool parentColor)
{
    m_parentColor = parentColor;
    if (parentColor)
        ParentColorChanged();
}

void TControl::SetAlign(TAlign align)
{
    if (align == m_align)
        return;
    m_align = align;
    if (m_parent)
        m_parent->AlignControls();
}

void TControl::ParentFontChanged()
{
    if (!m_parentFont || !m_parent)
        return;
    // Assigning through the change hook would clear ParentFont.
    auto hook = std::move(m_font->OnChange);
    m_font->Assign(*m_parent->Font());
    m_font->OnChange = std::move(hook);
    Changed(Aspect::Font);
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (TControl* child : self->Controls())
            child->ParentFontChanged();
}

void TControl::ParentColorChanged()
{
    if (!m_parentColor || !m_parent)
        return;
    m_color = m_parent->Color();
    Changed(Aspect::Color);
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (TControl* child : self->Controls())
            child->ParentColorChanged();
}

void TControl::Click()
{
    onClick(this);
}

void TControl::MouseFromWindow(bool down, TMouseButton button, TShiftState shift, int x, int y)
{
    MouseEvent(down, button, shift, x, y);
    if (down && shift.Has(ssDouble))
        onDblClick(this);
    if (!down && button == mbLeft)
        Click();
}

void TControl::MouseEvent(bool down, TMouseButton button, TShiftState shift, int x, int y)
{
    if (down)
        onMouseDown(this, button, shift, x, y);
    else
        onMouseUp(this, button, shift, x, y);
}

void TControl::Changed(Aspect aspect)
{
    if (m_parent)
        m_parent->Changed(Aspect::Paint);
}

void TControl::Loaded()
{
    TComponent::Loaded();
    // A stored ParentFont or ParentColor of True takes the parent's values now that all are read.
    ParentFontChanged();
    ParentColorChanged();
    if (auto* self = dynamic_cast<TWinControl*>(this))
        self->AlignControls();
}

void TControl::Notification(forms::TComponent* component, forms::Operation operation)
{
    TComponent::Notification(component, operation);
}

const ClassInfo& TWinControl::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TWinControl>("TWinControl", &TControl::StaticClass())
            .Property("DoubleBuffered", &TWinControl::DoubleBuffered,
                      &TWinControl::SetDoubleBuffered)
            .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
            .Property("OnEnter", &TWinControl::onEnter)
            .Property("OnExit", &TWinControl::onExit)
            .Property("OnKeyDown", &TWinControl::onKeyDown)
            .Property("OnKeyPress", &TWinControl::onKeyPress)
            .Property("OnKeyUp", &TWinControl::onKeyUp)
            .Build();
    return info;
}

TWinControl::TWinControl(forms::TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    // Children outlive their parent only as owned components of someone else: they lose it.
    while (!m_controls.empty())
        m_controls.back()->SetParent(nullptr);
    m_peer.reset();
}

void TWinControl::InsertControl(TControl* control)
{
    m_controls.push_back(control);
    control->m_parent = this;
    control->ParentFontChanged();
    control->ParentColorChanged();
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && HandleAllocated())
        windowed->HandleNeeded();
    Changed(Aspect::Paint);
    if (control->Align() != alNone)
        AlignControls();
}

void TWinControl::RemoveControl(TControl* control)
{
    std::erase(m_controls, control);
    control->m_parent = nullptr;
    if (auto* windowed = dynamic_cast<TWinControl*>(control))
        windowed->DestroyHandle();
    Changed(Aspect::Paint);
}

void TWinControl::SetChildOrder(forms::TComponent* child, int order)
{
    auto* control = dynamic_cast<TControl*>(child);
    const auto at = std::find(m_controls.begin(), m_controls.end(), control);
    if (at == m_controls.end())
        return;
    m_controls.erase(at);
    const auto index = std::clamp<std::size_t>(order < 0 ? 0 : order, 0, m_controls.size());
    m_controls.insert(m_controls.begin() + static_cast<std::ptrdiff_t>(index), control);
}

void TWinControl::SetDoubleBuffered(bool buffered)
{
    m_doubleBuffered = buffered;
}

IPeerFactory* TWinControl::PeerFactory() const
{
    return Parent() ? Parent()->PeerFactory() : nullptr;
}

void TWinControl::HandleNeeded()
{
    if (m_peer)
        return;
    if (Parent())
        Parent()->HandleNeeded();
    // Making the parent's window made its children's too.
    if (m_peer)
        return;
    IPeerFactory* factory = PeerFactory();
    if (!factory)
        throw rtl::Exception("Control '" + Name() + "' has no parent window");
    m_peer = factory->CreatePeer(*this);
    CreateWnd();
    for (TControl* child : m_controls)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->HandleNeeded();
}

void TWinControl::CreateWnd() {}

void TWinControl::DestroyHandle()
{
    if (!m_peer)
        return;
    for (TControl* child : m_controls)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->DestroyHandle();
    m_peer.reset();
}

void TWinControl::RecreateWnd()
{
    if (!m_peer)
        return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::SetFocus()
{
    HandleNeeded();
    m_peer->SetFocus();
}

void TWinControl::Changed(Aspect aspect)
{
    if (m_peer)
        m_peer->Update(aspect);
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
    AlignControls();
}

void TWinControl::AlignControls()
{
    if (m_aligning || HasState(forms::csLoading))
        return;
    m_aligning = true;
    TRect rest = ClientRect();
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* child : m_controls) {
            if (child->Align() != align || !child->Visible())
                continue;
            switch (align) {
                case alTop:
                    child->SetBounds(rest.left, rest.top, rest.Width(), child->Height());
                    rest.top += child->Height();
                    break;
                case alBottom:
                    child->SetBounds(rest.left, rest.bottom - child->Height(), rest.Width(),
                                     child->Height());
                    rest.bottom -= child->Height();
                    break;
                case alLeft:
                    child->SetBounds(rest.left, rest.top, child->Width(), rest.Height());
                    rest.left += child->Width();
                    break;
                case alRight:
                    child->SetBounds(rest.right - child->Width(), rest.top, child->Width(),
                                     rest.Height());
                    rest.right -= child->Width();
                    break;
                default:
                    child->SetBounds(rest.left, rest.top, rest.Width(), rest.Height());
                    break;
            }
        }
    }
    m_aligning = false;
}

const ClassInfo& TGraphicControl::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TGraphicControl>("TGraphicControl", &TControl::StaticClass()).Build();
    return info;
}

const ClassInfo& TCustomControl::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCustomControl>("TCustomControl", &TWinControl::StaticClass()).Build();
    return info;
}

}  // namespace setup::ui
