// One laid-out page: its outermost cell with every section, and the run state layout and painting
// share (measuring, selection, scroll position, links, positions in document order).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "setup/htmlview/layout/cell.h"
#include "setup/htmlview/layout/inline_borders.h"
#include "setup/htmlview/util/anchor_names.h"
#include "setup/htmlview/util/platform.h"

namespace htmlview {

struct FontRun;
class Form;
class FormControl;
class IControlHost;
class Panel;
class InlineImage;
class MapItem;

struct ImageSize
{
    int width = 0, height = 0;
};

class Document : public ICharPositionLocator
{
public:
    Document(ITextMeasurer& measurer, const IFontCatalog& fonts);
    ~Document() override;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Lays the document out for a paint area `width` wide; the height of everything.
    int Layout(int width, int height);
    // The plan for the screen rectangle `clip` at the current scroll position.
    PaintPlan Paint(const Rect& clip);

    int HitLink(int x, int y, LinkHit& hit);
    // The document position under the point, -1 when none.
    int CaretAtPoint(int x, int y, CaretHit& caret);
    // Where a position is painted; the one after the last character goes on a new line.
    bool PointOfCaret(int pos, int& x, int& y);
    bool CharAt(int pos, char16_t& ch) const;
    // The innermost section holding the character at the position; none outside.
    const SectionBase* SectionHolding(int pos) const { return cell.SectionHolding(pos); }
    int DocIndexOf(int sourceIndex, bool prev) const;
    // The last section (in document order) whose top is at or above `y`; none above the first.
    SectionBase* SectionAt(int y, int& topY, int& index) const;

    // Where the character read at a source position was laid out.
    bool YOfCharPosition(int sourcePosition, int& y) const override;

    // The section tree with boxes, lines and floats, for tests to compare.
    std::string DumpLayout() const;

    ITextMeasurer& measurer;
    const IFontCatalog& fonts;
    Cell cell{*this};

    // The size of a picture by its source; none while it is missing. Images off: placeholders.
    std::function<std::optional<ImageSize>(const std::string& source)> imageSize;
    bool imagesShown = true;

    int scrollY = 0;
    // A new scroll position: painting places the controls again (below).
    void SetScrollY(int y);
    // Set when controls may stand in the wrong place (scrolled, laid out again); the next paint
    // places those it reaches and parks the others out of sight.
    bool controlsMoved = false;
    int selFrom = 0, selTo = 0;
    bool showDummyCaret = false;
    std::uint32_t background = 0xFFFFFF;
    std::uint32_t windowColor = 0xFFFFFF;

    std::vector<FontRun*> links;
    // Named anchors (A NAME and ID), upper case.
    AnchorNames anchors{*this};
    // More links than a keyboard should tab through: links take no tab stops.
    bool noTabLinks = false;
    // The links that take keyboard tab stops: the first run of each link, in document order.
    std::vector<FontRun*> TabStopLinks() const;
    // What Tab moves through, in source order: form controls with a window, and links by their
    // number; each with its TABINDEX (0 for none).
    struct TabStop
    {
        FormControl* control = nullptr;
        int linkNumber = -1;
        int tabIndex = 0;
    };
    std::vector<TabStop> tabStops;
    // The client-side image maps (MAP elements), found by their upper-case names.
    std::vector<std::unique_ptr<MapItem>> maps;
    const MapItem* FindMap(const std::string& name) const;
    std::vector<SectionBase*> positionList;
    LinkNumbers linkNumbers;
    FontRun* hoverLink = nullptr;
    int cycleNumber = 0, sectionCount = 0;
    int* firstLineBaseline = nullptr;  // the list item waiting for its first baseline
    int height = 0;
    int maxWidth = 0;

    // Floating images paint after the text of the same pass, so they lie above it.
    struct DeferredImage
    {
        const InlineImage* image = nullptr;
        int x = 0, y = 0;
    };
    std::vector<DeferredImage> deferredImages;
    InlineBorders inlineBorders;

    // Where form controls get their windows; without one the document shows none.
    IControlHost* controlHost = nullptr;
    std::vector<std::unique_ptr<Form>> forms;
    std::vector<std::unique_ptr<Panel>> panels;
    // The viewer's owner fills a new panel (and may resize it) here.
    std::function<void(Panel&)> onPanelCreate;
};

}  // namespace htmlview
