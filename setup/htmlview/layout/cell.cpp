#include "setup/htmlview/layout/cell.h"

#include <algorithm>

#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/text_section.h"

namespace htmlview {

void CellBasic::Add(std::unique_ptr<SectionBase> section)
{
    if (auto* text = dynamic_cast<TextSection*>(section.get())) {
        if (!text->Closed())
            text->CloseText();
        if (text->IsEmpty()) {
            for (const auto& font : text->fonts)
                std::erase(document.links, font.get());
            return;
        }
    }
    sections.push_back(std::move(section));
}

int CellBasic::LayoutSections(const LayoutArgs& args, int& maxWidth, int& pos)
{
    startY = args.y;
    firstPos = pos;
    maxWidth = 0;
    int height = 0;
    for (const auto& section : sections) {
        LayoutArgs sectionArgs = args;
        sectionArgs.y = args.y + height;
        sectionArgs.indents = indents;
        int width = 0;
        height += section->Layout(sectionArgs, width, pos);
        maxWidth = std::max(maxWidth, width);
    }
    posCount = pos - firstPos;
    return height;
}

void CellBasic::MeasureWidths(int& min, int& max)
{
    min = max = 0;
    for (const auto& section : sections) {
        int sectionMin = 0, sectionMax = 0;
        section->MeasureWidths(sectionMin, sectionMax);
        min = std::max(min, sectionMin);
        max = std::max(max, sectionMax);
    }
}

int CellBasic::Paint(const PaintArgs& args, int y)
{
    int bottom = y;
    for (const auto& section : sections)
        bottom = section->Paint(args);
    return bottom;
}

namespace {

bool InInk(const SectionBase& section, int y)
{
    return section.inkTop <= y && y < section.inkBottom;
}

}  // namespace

int CellBasic::HitLink(int x, int y, LinkHit& hit)
{
    for (const auto& section : sections)
        if (InInk(*section, y))
            if (const int flags = section->HitLink(x, y, hit))
                return flags;
    return 0;
}

int CellBasic::CaretAtPoint(int x, int y, CaretHit& caret)
{
    for (const auto& section : sections)
        if (InInk(*section, y))
            if (const int pos = section->CaretAtPoint(x, y, caret); pos >= 0)
                return pos;
    return -1;
}

int CellBasic::DocIndexOf(int sourceIndex, bool prev) const
{
    if (prev) {
        for (auto it = sections.rbegin(); it != sections.rend(); ++it)
            if (const int pos = (*it)->DocIndexOf(sourceIndex, prev); pos >= 0)
                return pos;
        return -1;
    }
    for (const auto& section : sections)
        if (const int pos = section->DocIndexOf(sourceIndex, prev); pos >= 0)
            return pos;
    return -1;
}

bool CellBasic::PointOfCaret(int pos, bool measure, int& x, int& y)
{
    // A section's first position is also the end of the one before it: the caret goes before
    // the character at the position, and only a position no section holds goes after an end.
    for (const auto& section : sections)
        if (HoldsPosition(*section, pos) && section->PointOfCaret(pos, measure, x, y))
            return true;
    for (const auto& section : sections)
        if (section->PointOfCaret(pos, measure, x, y))
            return true;
    return false;
}

const SectionBase* CellBasic::SectionHolding(int pos) const
{
    for (const auto& section : sections)
        if (const SectionBase* found = section->SectionHolding(pos))
            return found;
    return nullptr;
}

bool CellBasic::CharAt(int pos, char16_t& ch) const
{
    if (pos < firstPos || pos > firstPos + posCount)
        return false;
    for (const auto& section : sections)
        if (section->CharAt(pos, ch))
            return true;
    return false;
}

void CellBasic::RegisterPositions(std::vector<SectionBase*>& list)
{
    for (const auto& section : sections)
        section->RegisterPositions(list);
}

void CellBasic::Dump(std::string& out, int depth) const
{
    for (const auto& section : sections)
        section->Dump(out, depth);
}

int Cell::Layout(int y, int width, int availHeight, int& maxWidth, int& pos)
{
    indents->Clear();
    indents->Reset(0, width);
    m_width = width;
    const void* savedOwner = indents->currentOwner;
    indents->currentOwner = this;
    const std::size_t left = indents->AddLeft(0, y);
    const std::size_t right = indents->AddRight(width, y);
    LayoutArgs args;
    args.y = y;
    args.refX = args.refY = 1000;
    args.availWidth = width;
    args.availHeight = availHeight;
    args.indents = indents;
    const int height = LayoutSections(args, maxWidth, pos);
    indents->DeleteRight(right);
    indents->DeleteLeft(left);
    indents->currentOwner = savedOwner;
    return std::max(height, indents->FloatBottom() - startY);
}

int Cell::PaintCell(PaintPlan& plan, int x, int y)
{
    indents->Reset(x, x + m_width);
    PaintArgs args;
    args.plan = &plan;
    args.indents = indents;
    args.x = x;
    return Paint(args, y);
}

}  // namespace htmlview
