// The line of an HR element, and the page-break marker that takes no room on screen.
#pragma once

#include "setup/htmlview/layout/section.h"
#include "setup/htmlview/parser/attributes.h"

namespace htmlview {

class HorzLine : public SectionBase
{
public:
    HorzLine(Document& document, const Properties& properties, const AttributeList& attributes);

    int Layout(const LayoutArgs& args, int& maxWidth, int& pos) override;
    int Paint(const PaintArgs& args) override;
    void Dump(std::string& out, int depth) const override;

    int thickness = 2;
    std::uint32_t color = kNoneColor;
    bool noShade = false;
    int left = 0, width = 0;
};

class PageBreak : public SectionBase
{
public:
    using SectionBase::SectionBase;
    void Dump(std::string& out, int depth) const override;
};

}  // namespace htmlview
