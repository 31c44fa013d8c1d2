// Pop-up menus: a tree of menu items with captions, check marks, shortcuts and click handlers,
// shown through the application's menu presenter, which answers with the item chosen.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "setup/forms/component.h"
#include "setup/forms/property_types.h"

namespace setup::ui {

class TImageList;

class TMenuItem : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    explicit TMenuItem(forms::TComponent* owner);
    ~TMenuItem() override;

    TMenuItem* Parent() const { return m_parent; }
    const std::vector<TMenuItem*>& Items() const { return m_items; }
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    void SetParentComponent(forms::TComponent* parent) override;
    forms::TComponent* GetParentComponent() const override;

    std::string caption;
    bool Checked() const { return m_checked; }
    // A checked radio item clears the other radio items of its group.
    void SetChecked(bool checked);
    bool enabled = true;
    bool visible = true;
    bool radioItem = false;
    std::uint8_t groupIndex = 0;
    bool isDefault = false;
    forms::TShortCut shortCut = forms::TShortCut(0);
    std::int32_t imageIndex = -1;
    bool IsSeparator() const { return caption == "-"; }

    virtual void Click();
    forms::TNotifyEvent onClick;

private:
    TMenuItem* m_parent = nullptr;
    std::vector<TMenuItem*> m_items;
    bool m_checked = false;
};

class TPopupMenu;

// Shows a menu at a screen point and answers with the item chosen, or null.
class IMenuPresenter
{
public:
    virtual ~IMenuPresenter() = default;
    virtual TMenuItem* Present(TPopupMenu& menu, int x, int y) = 0;
};

class TPopupMenu : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    explicit TPopupMenu(forms::TComponent* owner);

    // The invisible root item whose children are the menu's entries.
    TMenuItem* Items() const { return m_items.get(); }
    TImageList* images = nullptr;
    bool autoPopup = true;
    // Runs OnPopup, shows the menu through the form's application and clicks the item chosen;
    // returns that item (null when none was chosen or nothing can show menus).
    TMenuItem* Popup(int x, int y);

    forms::TNotifyEvent onPopup;
    IMenuPresenter* presenter = nullptr;

private:
    std::unique_ptr<TMenuItem> m_items;
};

}  // namespace setup::ui
