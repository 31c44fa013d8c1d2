#include "setup/htmlview/layout/section.h"

#include "setup/htmlview/layout/layout_dump.h"
#include "setup/htmlview/util/indent_manager.h"

namespace htmlview {

int SectionBase::Layout(const LayoutArgs& args, int& maxWidth, int& pos)
{
    firstPos = pos;
    paintHeight = layoutHeight;
    maxWidth = args.indents ? args.indents->width : 0;
    boxTop = inkTop = originY = args.y;
    boxBottom = args.y + layoutHeight;
    inkBottom = args.y + paintHeight;
    return layoutHeight;
}

int SectionBase::Paint(const PaintArgs&)
{
    return originY + layoutHeight;
}

int SectionBase::HitLink(int, int, LinkHit&)
{
    return 0;
}

int SectionBase::CaretAtPoint(int, int, CaretHit&)
{
    return -1;
}

int SectionBase::DocIndexOf(int, bool) const
{
    return -1;
}

const SectionBase* SectionBase::SectionHolding(int pos) const
{
    return HoldsPosition(*this, pos) ? this : nullptr;
}

bool SectionBase::PointOfCaret(int, bool, int&, int&)
{
    return false;
}

bool SectionBase::CharAt(int, char16_t&) const
{
    return false;
}

void SectionBase::MeasureWidths(int& min, int& max)
{
    min = max = 0;
}

void SectionBase::RegisterPositions(std::vector<SectionBase*>& list)
{
    list.push_back(this);
}

void SectionBase::Dump(std::string& out, int depth) const
{
    DumpBox(out, depth, "section");
}

void SectionBase::DumpBox(std::string& out, int depth, const char* kind) const
{
    DumpLine(out, depth, kind,
             {{"y", originY},
              {"h", layoutHeight},
              {"paint", paintHeight},
              {"box", boxTop},
              {"bottom", boxBottom},
              {"pos", firstPos},
              {"count", posCount}});
}

}  // namespace htmlview
