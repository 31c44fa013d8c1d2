#include "setup/ui/menus.h"

#include <algorithm>

#include "setup/forms/class_builder.h"
#include "setup/ui/application.h"
#include "setup/ui/image_list.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TMenuItem::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TMenuItem>("TMenuItem", &forms::TComponent::StaticClass())
            .Property("Caption", &TMenuItem::caption)
            .Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
            .Property("Default", &TMenuItem::isDefault)
            .Property("Enabled", &TMenuItem::enabled)
            .Property("GroupIndex", &TMenuItem::groupIndex)
            .Property("ImageIndex", &TMenuItem::imageIndex)
            .Property("RadioItem", &TMenuItem::radioItem)
            .Property("ShortCut", &TMenuItem::shortCut)
            .Property("Visible", &TMenuItem::visible)
            .Property("OnClick", &TMenuItem::onClick)
            .Build();
    return info;
}

TMenuItem::TMenuItem(forms::TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    for (TMenuItem* item : m_items)
        item->m_parent = nullptr;
    if (m_parent)
        m_parent->Remove(this);
}

void TMenuItem::Add(TMenuItem* item)
{
    if (item == this || item->m_parent == this)
        return;
    if (item->m_parent)
        item->m_parent->Remove(item);
    m_items.push_back(item);
    item->m_parent = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    std::erase(m_items, item);
    item->m_parent = nullptr;
}

void TMenuItem::SetParentComponent(forms::TComponent* parent)
{
    if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
    else if (auto* menu = dynamic_cast<TPopupMenu*>(parent))
        menu->Items()->Add(this);
}

forms::TComponent* TMenuItem::GetParentComponent() const
{
    return m_parent;
}

void TMenuItem::SetChecked(bool checked)
{
    m_checked = checked;
    if (!checked || !radioItem || !m_parent)
        return;
    for (TMenuItem* sibling : m_parent->m_items)
        if (sibling != this && sibling->radioItem && sibling->groupIndex == groupIndex)
            sibling->m_checked = false;
}

void TMenuItem::Click()
{
    if (!enabled)
        return;
    onClick(this);
}

const ClassInfo& TPopupMenu::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TPopupMenu>("TPopupMenu", &forms::TComponent::StaticClass())
            .Property("AutoPopup", &TPopupMenu::autoPopup)
            .Property("Images", &TPopupMenu::images)
            .Property("OnPopup", &TPopupMenu::onPopup)
            .Build();
    return info;
}

TPopupMenu::TPopupMenu(forms::TComponent* owner)
    : TComponent(owner), m_items(std::make_unique<TMenuItem>(nullptr))
{}

TMenuItem* TPopupMenu::Popup(int x, int y)
{
    onPopup(this);
    IMenuPresenter* shower = presenter;
    if (const TApplication* application = OwningApplication(*this); !shower && application)
        shower = application->menuPresenter;
    if (!shower)
        return nullptr;
    TMenuItem* chosen = shower->Present(*this, x, y);
    if (chosen)
        chosen->Click();
    return chosen;
}

}  // namespace setup::ui
