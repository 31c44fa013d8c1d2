// Design mode of the form designer: switching it on and off, the selection and its events, the
// rules, the grab handles, alignment and the end of a drag.
#include <algorithm>

#include "setup/ui/designer/alignment.h"
#include "setup/ui/designer/alignment_palette.h"
#include "setup/ui/designer/component_container.h"
#include "setup/ui/designer/grab_handles.h"
#include "setup/ui/form_designer.h"

namespace setup::ui {

IDesignSurface& TFormDesigner::Surface() const
{
    return surface ? *surface : const_cast<IDesignSurface&>(m_noSurface);
}

void TFormDesigner::SetGridStep(std::int32_t step)
{
    m_gridStep = ClampGridStep(step);
}

void TFormDesigner::SetGrabSize(std::int32_t size)
{
    const int clamped = ClampGrabSize(size);
    if (clamped == m_grabSize)
        return;
    m_grabSize = clamped;
    UpdateGrabs();
}

void TFormDesigner::SetAlignmentPalette(TAlignmentPaletteOptions options)
{
    alignmentPalette = options;
    if (m_palette)
        m_palette->ApplyOptions();
}

void TFormDesigner::SetMessageProcessor(TMessageProcessor processor)
{
    if (processor == m_messageProcessor)
        return;
    if (m_active)
        throw EFormDesigner("Cannot change message processor when TFormDesigner is active");
    m_messageProcessor = processor;
}

void TFormDesigner::SetMultiSelect(bool multi)
{
    if (multi == m_multiSelect)
        return;
    m_multiSelect = multi;
    Select(nullptr);
}

void TFormDesigner::SetDesignControl(TWinControl* control)
{
    if (control == m_designControl)
        return;
    if (m_designControl)
        RemoveFreeNotification(m_designControl);
    if (m_active)
        CancelDrag();
    m_designControl = control;
    if (m_designControl)
        FreeNotification(m_designControl);
}

void TFormDesigner::SetActive(bool active)
{
    if (active == m_active)
        return;
    if (active)
        Activate();
    else
        Deactivate();
}

void TFormDesigner::Activate()
{
    if (!Owner())
        throw EFormDesigner("TFormDesigner has no parent window.");
    if (!dynamic_cast<TCustomForm*>(Owner()))
        throw EFormDesigner("Owner of TFormDesigner must be TCustomForm descendant.");
    m_grabHandles = new TGrabHandles(*this);
    m_active = true;
    Select(nullptr);
    UpdateGrabs();
    Surface().Attach(*this);
    CreateContainers();
    Update();
    if (m_palette && alignmentPalette.Has(apAutoShow))
        m_palette->SetVisible(true);
    InstallIdle();
    SetControlsDesigning(true);
    if (TCustomForm* form = Form()) {
        form->PaintBackground = [this](TCanvas& canvas) { PaintGrid(canvas); };
        form->Changed(Aspect::Paint);
    }
    if (onActivate)
        onActivate();
}

void TFormDesigner::Deactivate()
{
    Surface().Detach(*this);
    RemoveIdle();
    StopHintTimer();
    m_hinted = nullptr;
    if (!HasState(forms::csDestroying)) {
        if (m_palette)
            m_palette->SetVisible(false);
        CancelDrag();
        Select(nullptr);
        DestroyContainers();
    }
    delete m_grabHandles;
    m_grabHandles = nullptr;
    m_active = false;
    // The windows stay shown: hiding them would leave the page blank once design mode ends.
    SetControlsDesigning(false);
    if (TCustomForm* form = Form()) {
        form->PaintBackground = nullptr;
        form->Changed(Aspect::Paint);
    }
    if (onDeactivate)
        onDeactivate();
}

void TFormDesigner::SetLockedRule(NameRule rule)
{
    m_locked = std::move(rule);
    RuleChanged(m_locked);
}

void TFormDesigner::SetProtectedRule(NameRule rule)
{
    m_protected = std::move(rule);
    RuleChanged(m_protected);
}

void TFormDesigner::SetTransparentRule(NameRule rule)
{
    m_transparent = std::move(rule);
    RuleChanged(m_transparent);
}

void TFormDesigner::RuleChanged(const NameRule& rule)
{
    if (!m_active)
        return;
    TControl* first = m_selection.empty() ? nullptr : m_selection.front();
    const bool falls = &rule == &m_protected ? IsProtected(first)
                       : &rule == &m_locked  ? IsLocked(first)
                                             : IsTransparent(first);
    if (first && falls)
        Select(nullptr);
    if (&rule != &m_transparent) {
        try {
            Update();
        } catch (const std::exception&) {
            // The lists change from code that cannot act on a failed repaint.
        }
    }
}

bool TFormDesigner::IsLocked(const forms::TComponent* component) const
{
    return RuleHolds(m_locked, component, Form());
}

bool TFormDesigner::IsTransparent(const forms::TComponent* component) const
{
    return RuleHolds(m_transparent, component, Form());
}

bool TFormDesigner::IsProtected(const forms::TComponent* component) const
{
    return ProtectionHolds(m_protected, component, Form(), m_designControl);
}

TControl* TFormDesigner::Controls(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_selection.size()))
        throw EFormDesigner("Index of Controls array is out or range.");
    return m_selection[static_cast<std::size_t>(index)];
}

forms::TComponent* TFormDesigner::Control() const
{
    if (m_selection.empty())
        return nullptr;
    if (auto* container = dynamic_cast<TComponentContainer*>(m_selection.front()))
        return container->Component();
    return m_selection.front();
}

void TFormDesigner::SetControl(forms::TComponent* component)
{
    if (auto* control = dynamic_cast<TControl*>(component))
        Select(control);
    else
        Select(FindContainer(component));
}

bool TFormDesigner::IsSelected(const TControl* control) const
{
    return std::find(m_selection.begin(), m_selection.end(), control) != m_selection.end();
}

void TFormDesigner::Select(TControl* control)
{
    if (control == Form())
        control = nullptr;
    if (control && !m_selection.empty() && m_selection.front() == control)
        return;
    if (control && (IsTransparent(control) || IsProtected(control)))
        return;
    while (!m_selection.empty())
        RemoveControl(m_selection.front());
    if (control)
        AddControl(control);
    ProcessMessages();
    if (m_selection.empty()) {
        DoSelectControl(nullptr);
        DoSelectionChange();
    }
}

void TFormDesigner::AddControl(TControl* control)
{
    if (!control || dynamic_cast<TGrabHandle*>(control))
        return;
    TControl* previous = m_selection.empty() ? nullptr : m_selection.front();
    if (!IsSelected(control)) {
        m_selection.insert(m_selection.begin(), control);
        FreeNotification(control);
        ProcessMessages();
        DoAddControl(control);
        DoSelectControl(control);
        DoSelectionChange();
    }
    if (m_selection.size() < 2)
        Repaint(control);
    else
        DrawMarks(control);
    if (m_grabHandles)
        m_grabHandles->SetControl(control);
    if (previous && previous != control && IsSelected(previous))
        DrawMarks(previous);
}

void TFormDesigner::RemoveControl(TControl* control)
{
    const auto found = std::find(m_selection.begin(), m_selection.end(), control);
    if (found == m_selection.end())
        return;
    m_selection.erase(found);
    RemoveFreeNotification(control);
    if (control->Parent())
        Repaint(control);
    if (m_grabHandles && m_grabHandles->Control() == control)
        m_grabHandles->SetControl(m_selection.empty() ? nullptr : m_selection.front());
    ProcessMessages();
    DoDeleteControl(control);
    DoSelectionChange();
}

void TFormDesigner::EndUpdate()
{
    if (m_updateCount > 0)
        --m_updateCount;
}

void TFormDesigner::DoMoveSizeControl()
{
    if (onMoveSizeControl)
        for (TControl* control : std::vector<TControl*>(m_selection))
            onMoveSizeControl(control);
}

void TFormDesigner::DoChange()
{
    if (m_updateCount == 0 && onChange)
        onChange();
}

void TFormDesigner::DoSelectControl(TControl* control)
{
    if (!onSelectControl)
        return;
    if (auto* container = dynamic_cast<TComponentContainer*>(control))
        onSelectControl(dynamic_cast<TControl*>(container->Component()) ? nullptr : container);
    else
        onSelectControl(control);
}

void TFormDesigner::DoSelectionChange()
{
    if (m_updateCount == 0 && onSelectionChange)
        onSelectionChange();
}

void TFormDesigner::DoAddControl(TControl* control)
{
    if (onAddControl)
        onAddControl(control);
}

void TFormDesigner::DoDeleteControl(TControl* control)
{
    if (onDeleteControl)
        onDeleteControl(control);
}

void TFormDesigner::Repaint(TControl* control)
{
    if (control)
        control->Changed(Aspect::Paint);
}

void TFormDesigner::DrawMarks(TControl* control)
{
    if (control && m_active)
        Surface().DrawMultiSelectMarks(*control);
}

void TFormDesigner::UpdateGrabs()
{
    if (m_grabHandles)
        m_grabHandles->Update(false);
}

void TFormDesigner::Update()
{
    UpdateGrabs();
    UpdateContainers();
    if (m_selection.size() >= 2)
        for (TControl* control : m_selection)
            DrawMarks(control);
}

void TFormDesigner::KeepSameParent(TControl* control)
{
    for (TControl* other : std::vector<TControl*>(m_selection))
        if (other != control && (other->Parent() != control->Parent() || IsLocked(other))) {
            Repaint(other);
            RemoveControl(other);
        }
}

void TFormDesigner::Align(int horizontal, int vertical)
{
    if (!m_active || m_selection.empty())
        return;
    TControl* first = m_selection.front();
    KeepSameParent(first);
    std::vector<TControl*> work;
    for (TControl* control : m_selection)
        if (!IsLocked(control))
            work.push_back(control);
    std::vector<TRect> rects;
    for (TControl* control : work)
        rects.push_back(control->BoundsRect());
    const TWinControl* parent = first->Parent();
    AlignRects(rects, static_cast<AlignCode>(horizontal), true, m_selection.size(),
               parent ? parent->ClientRect().Width() : 0);
    AlignRects(rects, static_cast<AlignCode>(vertical), false, m_selection.size(),
               parent ? parent->ClientRect().Height() : 0);
    for (std::size_t i = 0; i < work.size(); ++i)
        work[i]->SetBounds(rects[i].left, rects[i].top, rects[i].Width(), rects[i].Height());
    if (m_selection.size() < 2) {
        Repaint(m_selection.front());
        UpdateGrabs();
    } else {
        for (TControl* control : m_selection)
            DrawMarks(control);
    }
    ProcessMessages();
    DoMoveSizeControl();
    DoChange();
}

std::vector<TRect> TFormDesigner::FrameRects() const
{
    std::vector<TRect> rects{m_dragRect};
    if (m_selection.empty())
        return rects;
    const TRect first = m_selection.front()->BoundsRect();
    const int dx = m_dragRect.left - first.left;
    const int dy = m_dragRect.top - first.top;
    for (std::size_t i = 1; i < m_selection.size(); ++i)
        rects.push_back(OffsetRect(m_selection[i]->BoundsRect(), dx, dy));
    return rects;
}

void TFormDesigner::DrawFrames()
{
    if (!m_selection.empty() && m_selection.front()->Parent())
        Surface().DrawFrames(*m_selection.front()->Parent(), FrameRects());
}

void TFormDesigner::CancelDrag()
{
    if (!m_active || m_drag == DragState::None)
        return;
    if (m_drag == DragState::Band)
        Surface().DrawBand(m_band);
    else
        DrawFrames();
    Surface().CaptureMouse(false);
    Surface().ConfineCursor(nullptr);
    Surface().HideHint();
    m_drag = DragState::None;
    m_dragGrab = gpNone;
    if (!m_selection.empty()) {
        if (m_grabHandles) {
            m_grabHandles->SetEnabled(true);
            m_grabHandles->Update(false);
        }
        m_dragRect = m_selection.front()->BoundsRect();
    }
}

}  // namespace setup::ui
