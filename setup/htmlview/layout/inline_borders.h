// Inline elements with a CSS border: the document keeps their extent (source indexes while the
// document is built, document positions after), and each painted line boxes its part of them.
#pragma once

#include <vector>

#include "setup/htmlview/layout/paint_plan.h"
#include "setup/htmlview/style/box_values.h"
#include "setup/htmlview/util/platform.h"

namespace htmlview {

class Document;

struct InlineRec
{
    int start = 0, end = 0;
    const void* identity = nullptr;  // the element's properties
    BoxPixels box;
};

class InlineBorders
{
public:
    static constexpr int kOpenEnd = 999999;

    // The start (IsStart) or end of an element with a border at a source index.
    void Add(int sourceIndex, const Properties& properties, bool isStart, int pixelsPerInch);
    // Extents in document positions; converted once, after the document is complete.
    const std::vector<InlineRec>& Records(const Document& document);
    bool Empty() const { return m_records.empty(); }
    void Clear()
    {
        m_records.clear();
        m_converted = false;
    }

private:
    std::vector<InlineRec> m_records;
    bool m_converted = false;
};

// One element's box on one line: offsets in the section's text and the measured rectangle.
struct BorderRec
{
    int borderStart = 0, borderEnd = 0;
    bool openStart = false, openEnd = false;
    bool started = false, ended = false;
    Rect measured;
    BoxPixels box;
};

// The border and background of a measured box, open sides without their border.
void PaintInlineBorder(const BorderRec& rec, std::vector<PaintCommand>& commands,
                       const IFontCatalog& fonts);

}  // namespace htmlview
