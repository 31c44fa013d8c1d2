// Controls that hold others: group boxes, panels, and page controls with their tab sheets.
#pragma once

#include <cstdint>
#include <vector>

#include "setup/ui/control.h"

namespace setup::ui {

enum TTabPosition
{
    tpTop,
    tpBottom,
    tpLeft,
    tpRight,
};

class TGroupBox : public TCustomControl
{
public:
    FORMS_CLASS_INFO()
    explicit TGroupBox(forms::TComponent* owner);
    // An etched frame below the caption's middle, the caption on the frame's top line.
    void Paint(TCanvas& canvas) override;
};

class TCustomPanel : public TCustomControl
{
public:
    FORMS_CLASS_INFO()
    explicit TCustomPanel(forms::TComponent* owner);

    TBevelCut bevelInner = bvNone;
    TBevelCut bevelOuter = bvRaised;
    std::int32_t bevelWidth = 1;
    std::int32_t borderWidth = 0;
    TBorderStyle borderStyle = bsNone;
    TAlignment alignment = taCenter;
    bool autoSize = false;

    void Paint(TCanvas& canvas) override;
};

class TPanel : public TCustomPanel
{
public:
    FORMS_CLASS_INFO()
    using TCustomPanel::TCustomPanel;
};

class TPageControl;

class TTabSheet : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TTabSheet(forms::TComponent* owner);
    ~TTabSheet() override;

    // The page control is the parent: form files nest sheets in it.
    TPageControl* PageControl() const { return m_pageControl; }
    void SetPageControl(TPageControl* control);
    void SetParent(TWinControl* parent) override;
    // The sheet's place among its page control's sheets; -1 without one.
    std::int32_t PageIndex() const;
    void SetPageIndex(std::int32_t index);
    bool TabVisible() const { return m_tabVisible; }
    void SetTabVisible(bool visible);
    // Index among the sheets whose tabs show; -1 when its tab is hidden.
    int TabIndex() const;

private:
    TPageControl* m_pageControl = nullptr;
    bool m_tabVisible = true;
    // Read before the sheet reaches its page control: applied when it does.
    std::int32_t m_pendingIndex = -1;
};

class TPageControl : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TPageControl(forms::TComponent* owner);

    const std::vector<TTabSheet*>& Pages() const { return m_pages; }
    TTabSheet* ActivePage() const { return m_activePage; }
    // Shows that sheet and hides the others; a sheet of another control is refused.
    void SetActivePage(TTabSheet* page);
    std::int32_t ActivePageIndex() const;
    void SetActivePageIndex(std::int32_t index);
    bool multiLine = false;
    TTabPosition TabPosition() const { return m_tabPosition; }
    void SetTabPosition(TTabPosition position);

    // The tab the user chose, by tab index (hidden tabs are not counted).
    void TabIndexFromWindow(int tabIndex);
    // The area inside the tabs where sheets go.
    TRect DisplayRect() const;

    TNotifyEvent onChange;

    void Loaded() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void PlaceSheets();

    std::vector<TTabSheet*> m_pages;
    TTabSheet* m_activePage = nullptr;
    TTabPosition m_tabPosition = tpTop;
};

}  // namespace setup::ui

UI_ENUM_TYPE(TTabPosition, "tpTop", "tpBottom", "tpLeft", "tpRight")
