#include "setup/ui/common_controls.h"

#include <algorithm>

#include "setup/forms/class_builder.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TRangeControl::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TRangeControl>("TRangeControl", &TWinControl::StaticClass())
            .Property("Max", &TRangeControl::Max, &TRangeControl::SetMax)
            .Property("Min", &TRangeControl::Min, &TRangeControl::SetMin)
            .Property("Position", &TRangeControl::Position, &TRangeControl::SetPosition)
            .Build();
    return info;
}

std::int32_t TRangeControl::Clamped(std::int32_t value) const
{
    // A range stored upside down is taken as empty at Min.
    return std::clamp(value, m_min, std::max(m_min, m_max));
}

void TRangeControl::SetMin(std::int32_t value)
{
    m_min = value;
    if (!HasState(forms::csLoading))
        m_position = Clamped(m_position);
    Changed(Aspect::Range);
}

void TRangeControl::SetMax(std::int32_t value)
{
    m_max = value;
    if (!HasState(forms::csLoading))
        m_position = Clamped(m_position);
    Changed(Aspect::Range);
}

void TRangeControl::SetPosition(std::int32_t value)
{
    if (!HasState(forms::csLoading))
        value = Clamped(value);
    if (value == m_position)
        return;
    m_position = value;
    Changed(Aspect::Position);
}

void TRangeControl::Loaded()
{
    TWinControl::Loaded();
    m_position = Clamped(m_position);
}

const ClassInfo& TTrackBar::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TTrackBar>("TTrackBar", &TRangeControl::StaticClass())
            .Property("Frequency", &TTrackBar::frequency)
            .Property("LineSize", &TTrackBar::lineSize)
            .Property("Orientation", &TTrackBar::orientation)
            .Property("PageSize", &TTrackBar::pageSize)
            .Property("TickMarks", &TTrackBar::tickMarks)
            .Property("TickStyle", &TTrackBar::tickStyle)
            .Property("OnChange", &TTrackBar::onChange)
            .Build();
    return info;
}

TTrackBar::TTrackBar(forms::TComponent* owner) : TRangeControl(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::SetPosition(std::int32_t value)
{
    const std::int32_t before = m_position;
    TRangeControl::SetPosition(value);
    if (m_position != before && !HasState(forms::csLoading))
        onChange(this);
}

void TTrackBar::PositionFromWindow(std::int32_t position)
{
    if (position == m_position)
        return;
    m_position = Clamped(position);
    onChange(this);
}

const ClassInfo& TProgressBar::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TProgressBar>("TProgressBar", &TRangeControl::StaticClass())
            .Property("MarqueeInterval", &TProgressBar::marqueeInterval)
            .Property("Orientation", &TProgressBar::orientation)
            .Property("Smooth", &TProgressBar::smooth)
            .Property("Step", &TProgressBar::step)
            .Property("Style", &TProgressBar::Style, &TProgressBar::SetStyle)
            .Build();
    return info;
}

TProgressBar::TProgressBar(forms::TComponent* owner) : TRangeControl(owner)
{
    m_max = 100;
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::SetStyle(TProgressBarStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    Changed(Aspect::Style);
}

void TProgressBar::StepIt()
{
    std::int64_t next = static_cast<std::int64_t>(m_position) + step;
    if (next > m_max)
        next = m_min;
    SetPosition(static_cast<std::int32_t>(next));
}

const ClassInfo& TUpDown::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TUpDown>("TUpDown", &TRangeControl::StaticClass())
            .Property("AlignButton", &TUpDown::alignButton)
            .Property("ArrowKeys", &TUpDown::arrowKeys)
            .Property("Associate", &TUpDown::Associate, &TUpDown::SetAssociate)
            .Property("Increment", &TUpDown::increment)
            .Property("Orientation", &TUpDown::orientation)
            .Property("Thousands", &TUpDown::thousands)
            .Property("Wrap", &TUpDown::wrap)
            .Build();
    return info;
}

TUpDown::TUpDown(forms::TComponent* owner) : TRangeControl(owner)
{
    m_max = 100;
    SetBounds(0, 0, 17, 25);
}

void TUpDown::SetAssociate(TWinControl* control)
{
    if (control == this)
        control = nullptr;
    if (m_associate)
        RemoveFreeNotification(m_associate);
    m_associate = control;
    if (control)
        FreeNotification(control);
    UpdateAssociate();
    Changed(Aspect::Style);
}

void TUpDown::SetPosition(std::int32_t value)
{
    TRangeControl::SetPosition(value);
    UpdateAssociate();
}

void TUpDown::Loaded()
{
    TRangeControl::Loaded();
    UpdateAssociate();
}

void TUpDown::UpdateAssociate()
{
    if (!m_associate || HasState(forms::csLoading))
        return;
    std::string text = std::to_string(m_position);
    if (thousands) {
        const std::size_t digitsStart = text[0] == '-' ? 1 : 0;
        for (int at = static_cast<int>(text.size()) - 3; at > static_cast<int>(digitsStart);
             at -= 3)
            text.insert(static_cast<std::size_t>(at), ",");
    }
    m_associate->SetText(text);
}

void TUpDown::StepFromWindow(int direction)
{
    std::int64_t next =
        static_cast<std::int64_t>(m_position) + (direction > 0 ? increment : -increment);
    if (next > m_max)
        next = wrap ? m_min : m_max;
    else if (next < m_min)
        next = wrap ? m_max : m_min;
    SetPosition(static_cast<std::int32_t>(next));
    Click();
}

void TUpDown::PositionFromWindow(std::int32_t position)
{
    m_position = Clamped(position);
    UpdateAssociate();
    Click();
}

void TUpDown::Notification(forms::TComponent* component, forms::Operation operation)
{
    TRangeControl::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_associate)
        m_associate = nullptr;
}

const ClassInfo& TAnimate::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TAnimate>("TAnimate", &TWinControl::StaticClass())
                                      .Property("Active", &TAnimate::Active, &TAnimate::SetActive)
                                      .Property("Center", &TAnimate::center)
                                      .Property("CommonAVI", &TAnimate::commonAVI)
                                      .Property("FileName", &TAnimate::fileName)
                                      .Property("Repetitions", &TAnimate::repetitions)
                                      .Property("StartFrame", &TAnimate::startFrame)
                                      .Property("StopFrame", &TAnimate::stopFrame)
                                      .Property("Timers", &TAnimate::timers)
                                      .Property("Transparent", &TAnimate::transparent)
                                      .Build();
    return info;
}

TAnimate::TAnimate(forms::TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 100, 80);
}

void TAnimate::SetActive(bool active)
{
    m_active = active;
    Changed(Aspect::State);
}

TTreeNode::TTreeNode(TTreeNodes& owner, TTreeNode* parent, std::string text)
    : m_owner(owner), m_parent(parent), m_text(std::move(text))
{}

void TTreeNode::SetText(std::string text)
{
    m_text = std::move(text);
    m_owner.Changed();
}

std::string TTreeNode::Path(char separator) const
{
    std::string path = m_text;
    for (const TTreeNode* node = m_parent; node; node = node->m_parent)
        path = node->m_text + separator + path;
    return path;
}

const ClassInfo& TTreeNodes::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TTreeNodes>("TTreeNodes", &forms::TPersistent::StaticClass()).Build();
    return info;
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, std::string text)
{
    auto& list = parent ? parent->m_children : m_roots;
    list.push_back(std::make_unique<TTreeNode>(*this, parent, std::move(text)));
    TTreeNode* node = list.back().get();
    Changed();
    return node;
}

void TTreeNodes::Delete(TTreeNode* node)
{
    auto& list = node->m_parent ? node->m_parent->m_children : m_roots;
    std::erase_if(list, [node](const auto& child) { return child.get() == node; });
    Changed();
}

void TTreeNodes::Clear()
{
    m_roots.clear();
    Changed();
}

void TTreeNodes::SortChildren(TTreeNode* parent,
                              const std::function<bool(const TTreeNode&, const TTreeNode&)>& less)
{
    auto& children = parent ? parent->m_children : m_roots;
    std::stable_sort(children.begin(), children.end(),
                     [&less](const auto& a, const auto& b) { return less(*a, *b); });
    Changed();
}

std::vector<TTreeNode*> TTreeNodes::All() const
{
    std::vector<TTreeNode*> nodes;
    std::vector<TTreeNode*> stack;
    for (auto it = m_roots.rbegin(); it != m_roots.rend(); ++it)
        stack.push_back(it->get());
    while (!stack.empty()) {
        TTreeNode* node = stack.back();
        stack.pop_back();
        nodes.push_back(node);
        for (auto it = node->m_children.rbegin(); it != node->m_children.rend(); ++it)
            stack.push_back(it->get());
    }
    return nodes;
}

std::size_t TTreeNodes::Count() const
{
    return All().size();
}

void TTreeNodes::Changed()
{
    if (OnChange)
        OnChange();
}

void TTreeNodes::DefineProperties(forms::PropertyDefiner& definer)
{
    definer.DefineBinaryProperty(
        "Data", [this](std::string_view bytes) { m_storedData = bytes; },
        [this]() -> std::optional<std::string> {
            if (m_storedData.empty())
                return std::nullopt;
            return m_storedData;
        });
}

void TTreeNodes::Assign(const forms::TPersistent& source)
{
    const auto* nodes = dynamic_cast<const TTreeNodes*>(&source);
    if (!nodes) {
        TPersistent::Assign(source);
        return;
    }
    m_roots.clear();
    const auto copy = [this](const TTreeNode& from, TTreeNode* parent, const auto& self) -> void {
        TTreeNode* node = AddChild(parent, from.Text());
        node->data = from.data;
        node->SetImageIndex(from.ImageIndex());
        node->selectedIndex = from.selectedIndex;
        node->overlayIndex = from.overlayIndex;
        node->cut = from.cut;
        node->hasChildren = from.hasChildren;
        for (const auto& child : from.Children())
            self(*child, node, self);
    };
    for (const auto& root : nodes->m_roots)
        copy(*root, nullptr, copy);
    m_storedData = nodes->m_storedData;
    Changed();
}

const ClassInfo& TTreeView::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TTreeView>("TTreeView", &TWinControl::StaticClass())
                                      .Property("HideSelection", &TTreeView::hideSelection)
                                      .Property("Indent", &TTreeView::indent)
                                      .Property("Items", &TTreeView::Items, &TTreeView::SetItems)
                                      .Property("ReadOnly", &TTreeView::readOnly)
                                      .Property("ShowButtons", &TTreeView::showButtons)
                                      .Property("ShowLines", &TTreeView::showLines)
                                      .Property("ShowRoot", &TTreeView::showRoot)
                                      .Property("OnChange", &TTreeView::onChange)
                                      .Build();
    return info;
}

TTreeView::TTreeView(forms::TComponent* owner)
    : TWinControl(owner), m_items(std::make_unique<TTreeNodes>())
{
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
    m_items->OnChange = [this] {
        // A deleted selected node must not be reported later.
        const auto all = m_items->All();
        if (m_selected && std::find(all.begin(), all.end(), m_selected) == all.end())
            m_selected = nullptr;
        if (m_editing && std::find(all.begin(), all.end(), m_editing) == all.end())
            m_editing = nullptr;
        if (m_dropHighlight && std::find(all.begin(), all.end(), m_dropHighlight) == all.end())
            m_dropHighlight = nullptr;
        Changed(Aspect::Nodes);
    };
}

void TTreeView::SetSelected(TTreeNode* node)
{
    if (node == m_selected)
        return;
    m_selected = node;
    Changed(Aspect::ItemIndex);
    onChange(this, node);
}

void TTreeView::SetDropHighlight(TTreeNode* node)
{
    if (node == m_dropHighlight)
        return;
    m_dropHighlight = node;
    Changed(Aspect::DropHighlight);
}

void TTreeView::EditNode(TTreeNode* node)
{
    if (!CanEditNode(node))
        return;
    m_editing = node;
    Changed(Aspect::EditLabel);
}

void TTreeView::EditedFromWindow(TTreeNode* node, const std::string* text)
{
    m_editing = nullptr;
    if (node && text)
        node->SetText(*text);
}

void TTreeView::SelectedFromWindow(TTreeNode* node, bool)
{
    if (node == m_selected)
        return;
    m_selected = node;
    onChange(this, node);
}

}  // namespace setup::ui
