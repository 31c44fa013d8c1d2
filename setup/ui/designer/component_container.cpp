#include "setup/ui/designer/component_container.h"

#include <cctype>

#include "setup/forms/class_builder.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/menus.h"
#include "setup/ui/std_controls.h"

namespace setup::ui {

const forms::ClassInfo& TComponentContainer::StaticClass()
{
    static const forms::ClassInfo info = forms::ClassBuilder<TComponentContainer>(
                                             "TComponentContainer", &TCustomControl::StaticClass())
                                             .Build();
    return info;
}

TComponentContainer::TComponentContainer(forms::TComponent* owner, TFormDesigner* designer,
                                         forms::TComponent* component)
    : TCustomControl(owner), m_designer(designer), m_component(component)
{
    if (m_component)
        FreeNotification(m_component);
    SetVisible(m_component != nullptr);
    SetShowHint(true);
    const std::uint32_t info = m_component ? m_component->DesignInfo() : 0;
    m_left = static_cast<int>(info & 0xFFFF);
    m_top = static_cast<int>(info >> 16);
    m_width = kSize;
    m_height = kSize;
    m_captionLabel = new TLabel(this);
    m_captionLabel->alignment = taCenter;
    UpdateCaption();
    auto* form = dynamic_cast<TWinControl*>(owner);
    if (m_designer && m_designer->ShowComponentCaptions() && form)
        m_captionLabel->SetParent(form);
    if (m_designer && m_component)
        SetHint(m_designer->GetComponentHint(m_component));
    if (form)
        SetParent(form);
}

std::string TComponentContainer::PictureName() const
{
    std::string name = m_component ? m_component->ClassName() : "CONTAINER";
    for (char& letter : name)
        letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    return name;
}

void TComponentContainer::UpdateCaption()
{
    m_captionLabel->SetCaption(m_designer ? m_designer->GetComponentCaption(m_component) : "");
    const int labelWidth = m_captionLabel->Width();
    m_captionLabel->SetBounds(m_left + m_width / 2 - labelWidth / 2, m_top + m_height + 2,
                              labelWidth, m_captionLabel->Height());
}

void TComponentContainer::SetBounds(int left, int top, int /*width*/, int /*height*/)
{
    TCustomControl::SetBounds(left, top, kSize, kSize);
    if (m_component)
        m_component->SetDesignInfo((static_cast<std::uint32_t>(top) << 16) +
                                   (static_cast<std::uint32_t>(left) & 0xFFFF));
    UpdateCaption();
}

void TComponentContainer::Paint(TCanvas& canvas)
{
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(ClientRect());
    canvas.Pen().SetColor(clBtnHighlight);
    canvas.MoveTo(0, Height() - 1);
    canvas.LineTo(0, 0);
    canvas.LineTo(Width(), 0);
    canvas.Pen().SetColor(clBtnShadow);
    canvas.MoveTo(0, Height() - 1);
    canvas.LineTo(Width() - 1, Height() - 1);
    canvas.LineTo(Width() - 1, 0);
    // The picture: the class's initial in a 24 by 24 square at (2, 2).
    const std::string name = PictureName();
    const std::string initial = name.size() > 1 ? name.substr(1, 1) : name;
    canvas.Brush().SetColor(clWindow);
    canvas.Pen().SetColor(clNavy);
    canvas.Rectangle(TRect::Bounds(4, 4, 20, 20));
    canvas.Font().SetColor(clNavy);
    const TPoint extent = canvas.TextExtent(initial);
    canvas.TextOut(2 + (24 - extent.x) / 2, 2 + (24 - extent.y) / 2, initial);
}

void TComponentContainer::Notification(forms::TComponent* component, forms::Operation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_component)
        m_component = nullptr;
}

void TFormDesigner::SetShowNonVisual(bool show)
{
    if (show == m_showNonVisual)
        return;
    m_showNonVisual = show;
    if (show)
        CreateContainers();
    else
        DestroyContainers();
}

void TFormDesigner::SetShowComponentCaptions(bool show)
{
    if (show == m_showComponentCaptions)
        return;
    m_showComponentCaptions = show;
    if (HasState(forms::csDesigning))
        return;
    DestroyContainers();
    if (m_showNonVisual)
        CreateContainers();
}

void TFormDesigner::CreateContainers()
{
    m_containersPending = false;
    TCustomForm* form = Form();
    if (HasState(forms::csDesigning) || !m_showNonVisual || !form)
        return;
    for (std::size_t i = 0; i < form->ComponentCount(); ++i) {
        forms::TComponent* component = form->Component(i);
        if (dynamic_cast<TControl*>(component) || dynamic_cast<TMenuItem*>(component) ||
            dynamic_cast<TFormDesigner*>(component) || FindContainer(component))
            continue;
        bool editable = true;
        if (onComponentEditable)
            onComponentEditable(*component, editable);
        if (editable)
            new TComponentContainer(form, this, component);
    }
    m_containersPending = false;
}

void TFormDesigner::DestroyContainers()
{
    TCustomForm* form = Form();
    if (!form)
        return;
    for (std::size_t i = form->ComponentCount(); i-- > 0;)
        if (i < form->ComponentCount())
            if (auto* container = dynamic_cast<TComponentContainer*>(form->Component(i)))
                delete container;
}

void TFormDesigner::UpdateContainers()
{
    if (TCustomForm* form = Form())
        for (std::size_t i = 0; i < form->ComponentCount(); ++i)
            if (auto* container = dynamic_cast<TComponentContainer*>(form->Component(i)))
                container->UpdateCaption();
}

void TFormDesigner::PlaceContainers()
{
    if (TCustomForm* form = Form())
        for (std::size_t i = 0; i < form->ComponentCount(); ++i)
            if (auto* container = dynamic_cast<TComponentContainer*>(form->Component(i));
                container && container->Component()) {
                const std::uint32_t info = container->Component()->DesignInfo();
                container->SetBounds(static_cast<int>(info & 0xFFFF), static_cast<int>(info >> 16),
                                     TComponentContainer::kSize, TComponentContainer::kSize);
            }
}

TComponentContainer* TFormDesigner::FindContainer(const forms::TComponent* component) const
{
    if (TCustomForm* form = Form())
        for (std::size_t i = 0; i < form->ComponentCount(); ++i)
            if (auto* container = dynamic_cast<TComponentContainer*>(form->Component(i));
                container && container->Component() == component)
                return container;
    return nullptr;
}

std::string TFormDesigner::GetComponentCaption(const forms::TComponent* component) const
{
    if (!component)
        return "[none]";
    std::string text = component->Name().empty() ? component->ClassName() : component->Name();
    if (onComponentCaption)
        onComponentCaption(const_cast<forms::TComponent&>(*component), text);
    return text;
}

std::string TFormDesigner::GetComponentHint(const forms::TComponent* component) const
{
    if (auto* container = dynamic_cast<const TComponentContainer*>(component))
        component = container->Component();
    if (!component)
        return "";
    std::string text = component->Name() + ": " + component->ClassName();
    if (onComponentHint)
        onComponentHint(const_cast<forms::TComponent&>(*component), text);
    return text;
}

}  // namespace setup::ui
