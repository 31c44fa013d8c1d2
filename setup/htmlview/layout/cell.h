// Cells hold the sections of one flow: the document's outermost cell owns its float margins, a
// block's cell shares those of the block around it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "setup/htmlview/layout/section.h"
#include "setup/htmlview/util/indent_manager.h"

namespace htmlview {

class CellBasic
{
public:
    explicit CellBasic(Document& document) : document(document) {}
    virtual ~CellBasic() = default;

    // Closes a text section's characters first; a text section left with nothing to show is
    // dropped.
    void Add(std::unique_ptr<SectionBase> section);

    // The sections one below the other from `y`; the summed height.
    int LayoutSections(const LayoutArgs& args, int& maxWidth, int& pos);
    void MeasureWidths(int& min, int& max);
    int Paint(const PaintArgs& args, int y);

    int HitLink(int x, int y, LinkHit& hit);
    int CaretAtPoint(int x, int y, CaretHit& caret);
    int DocIndexOf(int sourceIndex, bool prev) const;
    bool PointOfCaret(int pos, bool measure, int& x, int& y);
    bool CharAt(int pos, char16_t& ch) const;
    const SectionBase* SectionHolding(int pos) const;
    void RegisterPositions(std::vector<SectionBase*>& list);
    void Dump(std::string& out, int depth) const;

    Document& document;
    std::vector<std::unique_ptr<SectionBase>> sections;
    IndentManager* indents = nullptr;
    int startY = 0, firstPos = 0, posCount = 0;
    int textBottom = 0, inkTop = 0, inkBottom = 0;
    std::string ownerTag = "default";
    Block* owner = nullptr;
};

// The document's own cell: its margins start at 0 and end at the width laid out for.
class Cell : public CellBasic
{
public:
    explicit Cell(Document& document) : CellBasic(document) { indents = &m_ownIndents; }
    int Layout(int y, int width, int availHeight, int& maxWidth, int& pos);
    int PaintCell(PaintPlan& plan, int x, int y);

private:
    IndentManager m_ownIndents;
    int m_width = 0;
};

}  // namespace htmlview
