// Presentational attributes of the old markup (ALIGN, FONT SIZE, COLOR and FACE) turned into
// style values; a rule or inline style set on the same element wins over them.
#pragma once

#include <optional>
#include <string>

#include "setup/htmlview/layout/table.h"
#include "setup/htmlview/parser/attributes.h"
#include "setup/htmlview/style/properties.h"

namespace htmlview {

// The text-align an ALIGN attribute gives a block; none for values it does not know.
std::optional<std::string> BlockAlignOf(const AttributeList& attributes);
void ApplyBlockAlign(Properties& properties, const AttributeList& attributes);

// A FONT SIZE value: absolute, or relative to the base size when signed; always 1-7.
int FontSizeNumber(const std::string& value, int baseSize);
// The points of FONT size 1-7 for the default size (preformatted text runs smaller).
double FontSizePoints(int size, double defaultPoints, bool preformatted);

struct FontTagState
{
    int baseSize = 3;  // BASEFONT moves it; signed FONT sizes count from it
    double defaultPoints = 12;
    bool preformatted = false;
};

// SIZE, COLOR and FACE of a FONT or BASEFONT tag onto its pushed properties.
void ApplyFontAttributes(Properties& properties, const AttributeList& attributes,
                         FontTagState& state, bool baseFont);

// TEXT, BGCOLOR, BACKGROUND, BGPROPERTIES and the margins (0-200 pixels) of a BODY tag.
void ApplyBodyAttributes(Properties& properties, const AttributeList& attributes);

// VALIGN of a row or cell: "baseline" counts as top; none or unknown gives `fallback`.
CellAlign VerticalAlignOf(const AttributeList& attributes, CellAlign fallback);
// A cell's BGCOLOR and the table's CELLPADDING; in a table with a border, room for the sunken
// frame the table draws around a cell without a border of its own (then true).
bool ApplyCellAttributes(Properties& properties, const AttributeList& attributes, int padding,
                         bool bordered);

// A COL or COLGROUP over the group's defaults; its SPAN (at least 1).
ColumnFormat ColumnFormatOf(const AttributeList& attributes, const ColumnFormat& defaults,
                            int& span);

}  // namespace htmlview
