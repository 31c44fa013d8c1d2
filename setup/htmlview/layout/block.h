// The box of a block-level element: margins (collapsed with the block before it), padding,
// borders and width, floats and positioning, its background and border, and its content cell
// painted in stacking order. List items add their marker, the body and rules their own rules.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup/htmlview/layout/cell.h"
#include "setup/htmlview/parser/attributes.h"
#include "setup/htmlview/style/box_values.h"
#include "setup/htmlview/style/keywords.h"

namespace htmlview {

class Block : public SectionBase
{
public:
    Block(Document& document, const Properties& properties);

    // Margin collapsing with the item before it in `ownerCell`, run before the block is added.
    void CollapseMargins(CellBasic& ownerCell, const Block* ownerBlock);

    int Layout(const LayoutArgs& args, int& maxWidth, int& pos) override;
    int Paint(const PaintArgs& args) override;
    int HitLink(int x, int y, LinkHit& hit) override;
    int CaretAtPoint(int x, int y, CaretHit& caret) override;
    int DocIndexOf(int sourceIndex, bool prev) const override;
    bool PointOfCaret(int pos, bool measure, int& x, int& y) override;
    bool CharAt(int pos, char16_t& ch) const override;
    const SectionBase* SectionHolding(int pos) const override;
    void MeasureWidths(int& min, int& max) override;
    void RegisterPositions(std::vector<SectionBase*>& list) override;
    void Dump(std::string& out, int depth) const override;

    // The content width for the room available; may move the auto margins.
    virtual int ResolveWidth(int availWidth, BoxPixels& box);

    BoxPixels Resolve(int baseWidth, int baseHeight) const;

    CellBasic cell;
    Properties style;
    BoxPixels box;
    Align floatSide = Align::None;
    ClearSide clear = ClearSide::None;
    Positioning positioning = Positioning::Static;
    bool isListBlock = false;
    bool hidden = false;
    bool displayNone = false;
    bool hasBorderStyle = false;
    std::string tagClass;
    std::string blockTitle;
    std::uint32_t textColor = 0;
    int contentWidth = 0, clearAddon = 0, contentIndent = 0;
    int topOffset = 0, leftOffset = 0;
    int contentBottom = 0;
    Rect titleRect;
    std::vector<SectionBase*> drawList;
    std::string backgroundSource;
    BackgroundPlacement backgroundPlacement;
    int backgroundWidth = 0, backgroundHeight = 0;  // none while 0

protected:
    bool IsFloat() const { return floatSide == Align::Left || floatSide == Align::Right; }
    void BuildDrawList();
    void PaintBlock(const PaintArgs& args, int x, int y);
    int LayoutContent(const LayoutArgs& cellArgs, int& contentMax, int& pos);

    std::optional<int> m_marginTop;     // after collapsing with the block above
    std::optional<int> m_marginBottom;  // zeroed by the block below
};

class BodyBlock : public Block
{
public:
    using Block::Block;
    int Layout(const LayoutArgs& args, int& maxWidth, int& pos) override;
    int Paint(const PaintArgs& args) override;
    void Dump(std::string& out, int depth) const override;
};

enum class ListStyle
{
    Blank = 0,
    Circle,
    Decimal,
    Disc,
    LowerAlpha,
    LowerRoman,
    None,
    Square,
    UpperAlpha,
    UpperRoman
};

enum class ListKind
{
    Ordered = 1,
    Unordered,
    Definition,
    Lone
};

// The marker text of an ordered item: "3.", "c.", "iii."; numbers below 1 are decimal, as the
// letters and numerals start at 1.
std::u16string MarkerText(ListStyle style, int number);

class ListItemBlock : public Block
{
public:
    ListItemBlock(Document& document, const Properties& properties, ListKind kind, int level,
                  int number, char typeLetter, bool plain, const ElementFont& font);

    int Layout(const LayoutArgs& args, int& maxWidth, int& pos) override;
    int Paint(const PaintArgs& args) override;
    void Dump(std::string& out, int depth) const override;

    ListKind kind;
    ListStyle listStyle = ListStyle::Disc;
    int number = 0;
    ElementFont listFont;
    int firstBaseline = 0;
};

class RuleBlock : public Block
{
public:
    RuleBlock(Document& document, const Properties& properties, const AttributeList& attributes);
    int ResolveWidth(int availWidth, BoxPixels& box) override;
    void Dump(std::string& out, int depth) const override;

    Align ruleAlign = Align::Middle;
};

}  // namespace htmlview
