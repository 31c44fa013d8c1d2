#include "setup/htmlview/layout/document.h"

#include "setup/htmlview/forms/form.h"
#include "setup/htmlview/forms/panel.h"
#include "setup/htmlview/layout/font_run.h"
#include "setup/htmlview/layout/inline_image.h"
#include "setup/htmlview/parser/area_map.h"

namespace htmlview {

namespace {

// A caret after the last character sits on a new line this much lower.
constexpr int kCaretNewLineDrop = 15;

}  // namespace

Document::Document(ITextMeasurer& measurer, const IFontCatalog& fonts)
    : measurer(measurer), fonts(fonts)
{}

std::vector<FontRun*> Document::TabStopLinks() const
{
    std::vector<FontRun*> stops;
    if (noTabLinks)
        return stops;
    int lastNumber = -1;
    for (FontRun* run : links)
        if (run->IsLink() && run->link.linkNumber != lastNumber) {
            // The pieces of one link follow each other in the list.
            lastNumber = run->link.linkNumber;
            stops.push_back(run);
        }
    return stops;
}

const MapItem* Document::FindMap(const std::string& name) const
{
    for (const auto& map : maps)
        if (map->Name() == name)
            return map.get();
    return nullptr;
}

Document::~Document()
{
    // The sections go first: their text still points at the form controls and panels.
    cell.sections.clear();
}

namespace {

template <class Visit>
void ForEachControl(Document& document, Visit visit)
{
    for (const auto& form : document.forms)
        for (const auto& control : form->controls)
            visit(static_cast<IInlineControl&>(*control));
    for (const auto& panel : document.panels)
        visit(static_cast<IInlineControl&>(*panel));
}

}  // namespace

void Document::SetScrollY(int y)
{
    if (y != scrollY)
        controlsMoved = true;
    scrollY = y;
}

int Document::Layout(int width, int availHeight)
{
    controlsMoved = true;
    ++cycleNumber;
    int pos = 0;
    maxWidth = 0;
    height = cell.Layout(0, width, availHeight, maxWidth, pos);
    if (positionList.empty())
        cell.RegisterPositions(positionList);
    return height;
}

PaintPlan Document::Paint(const Rect& clip)
{
    PaintPlan plan;
    plan.clip = clip;
    if (controlsMoved)
        ForEachControl(*this, [](IInlineControl& control) { control.shown = false; });
    deferredImages.clear();
    cell.PaintCell(plan, 0, 0);
    for (const DeferredImage& deferred : deferredImages) {
        const InlineImage& image = *deferred.image;
        const int top = deferred.y - scrollY;
        if (image.control) {
            image.control->Show(deferred.x, top);
            continue;
        }
        plan.commands.push_back(
            ImageCommand{{deferred.x, top, deferred.x + image.objWidth, top + image.objHeight},
                         image.source,
                         false,
                         {}});
    }
    if (controlsMoved) {
        ForEachControl(*this, [](IInlineControl& control) {
            if (!control.shown)
                control.Park();
        });
        controlsMoved = false;
    }
    return plan;
}

int Document::HitLink(int x, int y, LinkHit& hit)
{
    FontRun* previous = hoverLink;
    hoverLink = nullptr;
    const int flags = cell.HitLink(x, y, hit);
    if (previous != hoverLink) {
        for (FontRun* run : links) {
            if (previous && run->link.linkNumber == previous->link.linkNumber)
                run->SetHover(false);
        }
        for (FontRun* run : links) {
            if (hoverLink && run->link.linkNumber == hoverLink->link.linkNumber)
                run->SetHover(true);
        }
    }
    return flags;
}

int Document::CaretAtPoint(int x, int y, CaretHit& caret)
{
    return cell.CaretAtPoint(x, y, caret);
}

bool Document::PointOfCaret(int pos, int& x, int& y)
{
    bool afterEnd = false;
    if (pos >= cell.posCount) {
        pos = cell.posCount - 1;
        afterEnd = true;
    }
    if (pos < 0 || !cell.PointOfCaret(pos, true, x, y))
        return false;
    if (afterEnd)
        y += kCaretNewLineDrop;
    return true;
}

bool Document::CharAt(int pos, char16_t& ch) const
{
    return cell.CharAt(pos, ch);
}

int Document::DocIndexOf(int sourceIndex, bool prev) const
{
    const int pos = cell.DocIndexOf(sourceIndex, prev);
    return pos >= 0 ? pos : cell.posCount;
}

bool Document::YOfCharPosition(int sourcePosition, int& y) const
{
    auto& self = const_cast<Document&>(*this);
    int x = 0;
    return self.PointOfCaret(DocIndexOf(sourcePosition, false), x, y);
}

SectionBase* Document::SectionAt(int y, int& topY, int& index) const
{
    for (std::size_t i = positionList.size(); i-- > 0;) {
        if (positionList[i]->AnchorY() <= y) {
            topY = positionList[i]->AnchorY();
            index = static_cast<int>(i);
            return positionList[i];
        }
    }
    return nullptr;
}

std::string Document::DumpLayout() const
{
    std::string out =
        "document h=" + std::to_string(height) + " width=" + std::to_string(maxWidth) + "\n";
    cell.Dump(out, 1);
    return out;
}

}  // namespace htmlview
