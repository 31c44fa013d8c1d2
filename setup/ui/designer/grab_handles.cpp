#include "setup/ui/designer/grab_handles.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/form_designer.h"

namespace setup::ui {

const forms::ClassInfo& TGrabHandle::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TGrabHandle>("TGrabHandle", &TCustomControl::StaticClass()).Build();
    return info;
}

TGrabHandle::TGrabHandle(forms::TComponent* owner, TGrabPosition position)
    : TCustomControl(owner), m_position(position)
{
    SetVisible(false);
}

void TGrabHandle::Paint(TCanvas& canvas)
{
    auto* handles = dynamic_cast<TGrabHandles*>(Owner());
    auto* designer = handles ? dynamic_cast<TFormDesigner*>(handles->Owner()) : nullptr;
    if (!designer)
        return;
    const int g = designer->GrabSize();
    canvas.Pen().SetColor(locked ? designer->lockedGrabBorder : designer->normalGrabBorder);
    canvas.Brush().SetColor(locked ? designer->lockedGrabFill : designer->normalGrabFill);
    // The square's bottom-right corner at the window's: a clipped handle shows its inner part.
    canvas.Rectangle(TRect::Bounds(Width() - g, Height() - g, g, g));
}

const forms::ClassInfo& TGrabHandles::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TGrabHandles>("TGrabHandles", &forms::TComponent::StaticClass())
            .Build();
    return info;
}

TGrabHandles::TGrabHandles(TFormDesigner& designer)
    : forms::TComponent(&designer), m_designer(designer)
{
    for (int position = gpLeftTop; position <= gpRightBottom; ++position) {
        auto* handle = new TGrabHandle(this, static_cast<TGrabPosition>(position));
        if (TCustomForm* form = designer.Form())
            handle->SetParent(form);
        m_handles[static_cast<std::size_t>(position - 1)] = handle;
    }
}

void TGrabHandles::SetControl(TControl* control)
{
    if (control == m_control)
        return;
    if (m_control)
        RemoveFreeNotification(m_control);
    m_control = control;
    if (m_control)
        FreeNotification(m_control);
    Update(true);
}

void TGrabHandles::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Update(false);
}

void TGrabHandles::Notification(forms::TComponent* component, forms::Operation operation)
{
    forms::TComponent::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_control)
        m_control = nullptr;
}

void TGrabHandles::Update(bool hideFirst)
{
    if (!m_designer.Active())
        return;
    TGrabPositions visible{0x1FF};
    TGrabPositions enabled{0x1FF};
    if (m_designer.onCustomizeGrabs)
        m_designer.onCustomizeGrabs(visible, enabled);
    m_designer.ProcessMessages();
    m_shown = m_enabled && m_control && !m_designer.IsProtected(m_control) &&
              m_designer.ControlCount() <= 1;
    const int g = m_designer.GrabSize();
    for (TGrabHandle* handle : m_handles) {
        if (!m_control || !m_control->Parent()) {
            handle->SetVisible(false);
            if (TCustomForm* form = m_designer.Form(); form && handle->Parent() != form)
                handle->SetParent(form);
            continue;
        }
        if (hideFirst)
            handle->SetVisible(false);
        TWinControl* parent = m_control->Parent();
        if (handle->Parent() != parent)
            handle->SetParent(parent);
        handle->controlBounds = m_control->BoundsRect();
        const TRect square =
            GrabHandleRect(handle->Position(), handle->controlBounds, g, parent->ClientRect());
        handle->SetBounds(square.left, square.top, square.Width(), square.Height());
        handle->locked = m_designer.IsLocked(m_control);
        handle->SetVisible(m_shown && visible.Has(handle->Position()));
        handle->SetEnabled(enabled.Has(handle->Position()));
        handle->Changed(Aspect::Paint);
    }
    m_designer.ProcessMessages();
}

}  // namespace setup::ui
