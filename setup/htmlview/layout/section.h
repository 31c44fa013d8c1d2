// What every piece of a laid-out document is: a section takes room in the flow of its cell, paints
// itself into a paint plan, and answers the viewer's questions about points and positions.
#pragma once

#include <string>
#include <vector>

#include "setup/htmlview/layout/paint_plan.h"
#include "setup/htmlview/util/url_target.h"

namespace htmlview {

class Block;
class Document;
class IndentManager;

constexpr int kNotLaidOut = 999999999;

struct LayoutArgs
{
    int x = 0, y = 0;
    int refX = 0, refY = 0;  // where absolutely positioned blocks are measured from
    int availWidth = 0, availHeight = 0, blockHeight = 0;
    IndentManager* indents = nullptr;
};

struct PaintArgs
{
    PaintPlan* plan = nullptr;
    IndentManager* indents = nullptr;
    int x = 0, refX = 0, refY = 0;
};

enum HitFlags
{
    kHitLink = 1,
    kHitControl = 2,
    kHitTitle = 4
};

class IImageClick;
class InlineImage;

struct LinkHit
{
    UrlTarget target;
    std::string title;
    // With kHitControl: the image button under the point and the point on its picture.
    IImageClick* imageButton = nullptr;
    int imageX = 0, imageY = 0;
    // Any picture under the point (imageX and imageY on it), link or not.
    const InlineImage* image = nullptr;
};

struct CaretHit
{
    int x = 0, y = 0, height = 0;
    bool inText = false;
};

class SectionBase
{
public:
    explicit SectionBase(Document& document) : document(document) {}
    virtual ~SectionBase() = default;
    SectionBase(const SectionBase&) = delete;
    SectionBase& operator=(const SectionBase&) = delete;

    virtual int AnchorY() const { return boxTop; }
    // The height taken in the flow; `maxWidth` the width the section needs.
    virtual int Layout(const LayoutArgs& args, int& maxWidth, int& pos);
    // The Y just below the section.
    virtual int Paint(const PaintArgs& args);
    virtual int HitLink(int x, int y, LinkHit& hit);
    virtual int CaretAtPoint(int x, int y, CaretHit& caret);
    virtual int DocIndexOf(int sourceIndex, bool prev) const;
    virtual bool PointOfCaret(int pos, bool measure, int& x, int& y);
    virtual bool CharAt(int pos, char16_t& ch) const;
    // The innermost section holding the character at the position; none outside.
    virtual const SectionBase* SectionHolding(int pos) const;
    virtual void MeasureWidths(int& min, int& max);
    virtual void RegisterPositions(std::vector<SectionBase*>& list);
    // One entry of the layout dump at this nesting depth.
    virtual void Dump(std::string& out, int depth) const;

    Document& document;
    Block* ownerBlock = nullptr;
    int layoutHeight = 0, paintHeight = 0;
    int firstPos = 0, posCount = 0;
    int stackOrder = 0;
    int boxTop = kNotLaidOut, boxBottom = 0, boxLeft = 0;
    int inkTop = 0, inkBottom = 0, originY = 0;

protected:
    void DumpBox(std::string& out, int depth, const char* kind) const;
};

// The section holds the character at the position (its end position is the next one's first).
inline bool HoldsPosition(const SectionBase& section, int pos)
{
    return pos >= section.firstPos && pos < section.firstPos + section.posCount;
}

}  // namespace htmlview
