#include "setup/ui/containers.h"

#include <algorithm>

#include "setup/forms/class_builder.h"
#include "setup/ui/std_controls.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TGroupBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TGroupBox>("TGroupBox", &TCustomControl::StaticClass())
            .Property("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption)
            .Build();
    return info;
}

TGroupBox::TGroupBox(forms::TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::Paint(TCanvas& canvas)
{
    canvas.Font().Assign(*Font());
    const TPoint extent = canvas.TextExtent(Caption().empty() ? "0" : Caption());
    TRect frame = ClientRect();
    frame.top += extent.y / 2;
    TRect inner = frame;
    canvas.Brush().SetStyle(bsClear);
    DrawBevelFrame(canvas, inner, bvLowered, 1);
    DrawBevelFrame(canvas, inner, bvRaised, 1);
    if (Caption().empty())
        return;
    canvas.Brush().SetColor(Color());
    TRect text = TRect::Bounds(8, 0, extent.x + 4, extent.y);
    canvas.FillRect(text);
    canvas.TextRect(text, Caption(), tfSingleLine | tfCenter);
}

const ClassInfo& TCustomPanel::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCustomPanel>("TCustomPanel", &TCustomControl::StaticClass())
            .Property("Alignment", &TCustomPanel::alignment)
            .Property("AutoSize", &TCustomPanel::autoSize)
            .Property("BevelInner", &TCustomPanel::bevelInner)
            .Property("BevelOuter", &TCustomPanel::bevelOuter)
            .Property("BevelWidth", &TCustomPanel::bevelWidth)
            .Property("BorderStyle", &TCustomPanel::borderStyle)
            .Property("BorderWidth", &TCustomPanel::borderWidth)
            .Property("Caption", &TCustomPanel::Caption, &TCustomPanel::SetCaption)
            .Build();
    return info;
}

TCustomPanel::TCustomPanel(forms::TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::Paint(TCanvas& canvas)
{
    TRect rect = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(rect);
    if (borderStyle == bsSingle) {
        canvas.Pen().SetColor(clBlack);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(rect);
        rect = rect.Inflated(-1, -1);
    }
    DrawBevelFrame(canvas, rect, bevelOuter, bevelWidth);
    rect = rect.Inflated(-borderWidth, -borderWidth);
    DrawBevelFrame(canvas, rect, bevelInner, bevelWidth);
    if (Caption().empty())
        return;
    canvas.Font().Assign(*Font());
    const unsigned horizontal = alignment == taCenter         ? tfCenter
                                : alignment == taRightJustify ? tfRight
                                                              : tfLeft;
    canvas.TextRect(rect, Caption(), tfSingleLine | tfVCenter | horizontal);
}

const ClassInfo& TPanel::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TPanel>("TPanel", &TCustomPanel::StaticClass()).Build();
    return info;
}

const ClassInfo& TTabSheet::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TTabSheet>("TTabSheet", &TWinControl::StaticClass())
            .Property("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption)
            .Property("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
            .Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
            .Build();
    return info;
}

TTabSheet::TTabSheet(forms::TComponent* owner) : TWinControl(owner)
{
    SetVisible(false);
}

TTabSheet::~TTabSheet()
{
    if (m_pageControl)
        m_pageControl->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* parent)
{
    TWinControl::SetParent(parent);
    auto* control = dynamic_cast<TPageControl*>(parent);
    if (control == m_pageControl)
        return;
    if (m_pageControl)
        m_pageControl->RemovePage(this);
    m_pageControl = control;
    if (control) {
        control->InsertPage(this);
        if (m_pendingIndex >= 0)
            control->MovePage(this, m_pendingIndex);
        m_pendingIndex = -1;
    }
}

void TTabSheet::SetPageControl(TPageControl* control)
{
    SetParent(control);
}

std::int32_t TTabSheet::PageIndex() const
{
    if (!m_pageControl)
        return m_pendingIndex;
    const auto& pages = m_pageControl->m_pages;
    return static_cast<std::int32_t>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(std::int32_t index)
{
    if (!m_pageControl) {
        m_pendingIndex = index;
        return;
    }
    m_pageControl->MovePage(this, index);
}

void TTabSheet::SetTabVisible(bool visible)
{
    m_tabVisible = visible;
    if (m_pageControl) {
        if (!visible && m_pageControl->ActivePage() == this)
            m_pageControl->SetActivePage(nullptr);
        m_pageControl->Changed(Aspect::Pages);
    }
}

int TTabSheet::TabIndex() const
{
    if (!m_pageControl || !m_tabVisible)
        return -1;
    int index = 0;
    for (TTabSheet* page : m_pageControl->m_pages) {
        if (page == this)
            return index;
        if (page->m_tabVisible)
            ++index;
    }
    return -1;
}

const ClassInfo& TPageControl::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TPageControl>("TPageControl", &TWinControl::StaticClass())
            .Property("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
            .Property("MultiLine", &TPageControl::multiLine)
            .Property("TabPosition", &TPageControl::TabPosition, &TPageControl::SetTabPosition)
            .Property("OnChange", &TPageControl::onChange)
            .Build();
    return info;
}

TPageControl::TPageControl(forms::TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

void TPageControl::InsertPage(TTabSheet* page)
{
    m_pages.push_back(page);
    PlaceSheets();
    Changed(Aspect::Pages);
}

void TPageControl::RemovePage(TTabSheet* page)
{
    std::erase(m_pages, page);
    if (m_activePage == page)
        m_activePage = nullptr;
    Changed(Aspect::Pages);
}

void TPageControl::MovePage(TTabSheet* page, int index)
{
    std::erase(m_pages, page);
    const auto at = std::clamp<std::size_t>(index < 0 ? 0 : index, 0, m_pages.size());
    m_pages.insert(m_pages.begin() + static_cast<std::ptrdiff_t>(at), page);
    Changed(Aspect::Pages);
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->PageControl() != this)
        return;
    m_activePage = page;
    for (TTabSheet* sheet : m_pages)
        sheet->SetVisible(sheet == page);
    Changed(Aspect::ItemIndex);
}

std::int32_t TPageControl::ActivePageIndex() const
{
    return m_activePage ? m_activePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(std::int32_t index)
{
    SetActivePage(index >= 0 && static_cast<std::size_t>(index) < m_pages.size() ? m_pages[index]
                                                                                 : nullptr);
}

void TPageControl::SetTabPosition(TTabPosition position)
{
    m_tabPosition = position;
    PlaceSheets();
    RecreateWnd();
}

void TPageControl::TabIndexFromWindow(int tabIndex)
{
    for (TTabSheet* page : m_pages) {
        if (page->TabIndex() == tabIndex) {
            SetActivePage(page);
            onChange(this);
            return;
        }
    }
}

TRect TPageControl::DisplayRect() const
{
    // The tab row's height and the frame around the sheets, as the common control lays them out
    // with the usual font.
    constexpr int kTabRow = 22;
    constexpr int kFrame = 4;
    TRect rect = ClientRect().Inflated(-kFrame, -kFrame);
    switch (m_tabPosition) {
        case tpTop:
            rect.top += kTabRow;
            break;
        case tpBottom:
            rect.bottom -= kTabRow;
            break;
        case tpLeft:
            rect.left += kTabRow;
            break;
        case tpRight:
            rect.right -= kTabRow;
            break;
    }
    return rect;
}

void TPageControl::PlaceSheets()
{
    const TRect rect = DisplayRect();
    for (TTabSheet* sheet : m_pages)
        sheet->SetBounds(rect.left, rect.top, rect.Width(), rect.Height());
}

void TPageControl::Loaded()
{
    TWinControl::Loaded();
    PlaceSheets();
    // The stored active page is the one shown; without one, none is.
    SetActivePage(m_activePage);
}

}  // namespace setup::ui
