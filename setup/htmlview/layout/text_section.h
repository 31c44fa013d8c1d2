// A run of flowing text with its font changes, links and images: filled by the document's
// builder, cleaned of surplus white space when closed, and broken into lines for the room left
// beside the floats.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "setup/htmlview/layout/font_run.h"
#include "setup/htmlview/layout/inline_borders.h"
#include "setup/htmlview/layout/inline_image.h"
#include "setup/htmlview/layout/section.h"
#include "setup/htmlview/style/keywords.h"

namespace htmlview {

// Characters that stand for something other than text; each takes one document position.
constexpr char16_t kControlMark = 0x0002;
constexpr char16_t kImageMark = 0x0004;

// A mark standing for a control or an image in the text.
constexpr bool IsPlaceholder(char16_t c)
{
    return c == kControlMark || c == kImageMark;
}
constexpr char16_t kBreakMark = 0x0008;

enum class Justify
{
    Left = 1,
    Center = 2,
    Right = 3,
    Full = 4
};

struct LineRec
{
    int start = 0;  // offset of the first character in the section's text
    int spaceBefore = 0, spaceAfter = 0;
    int textHeight = 0, inkHeight = 0;
    int charCount = 0, descent = 0, indent = 0;
    int startX = 0, availWidth = 0, paintTop = 0;
    int spaceCount = 0, extraWidth = 0;
    std::vector<BorderRec> borders;  // the inline boxes on this line, measured when painted
    bool bordersPending = false;
    int Height() const { return spaceBefore + textHeight + spaceAfter; }
};

// What a section takes from the style of the element that opens it.
struct SectionStyle
{
    ElementFont font;
    std::string title;
    Justify justify = Justify::Left;
    ClearSide clear = ClearSide::None;
    int lineHeight = -1;  // pixels; -1 for the font's own
    int firstLineIndent = 0;
    int firstLineIndentPercent = 0;  // of the line's width when not 0
};

struct PositionRun
{
    int docOffset = 0;
    int sourceIndex = 0;
};

class TextSection : public SectionBase
{
public:
    TextSection(Document& document, const SectionStyle& style);

    // Characters with their source indexes (one each); `noBreak` inside NOBR or nowrap text.
    void AppendText(std::u16string_view text, const std::vector<int>& sourceIndexes, bool noBreak,
                    int textTransform);
    void AppendBreak(int sourceIndex);
    // A new font from the current end on (replacing the last when nothing was added since).
    void ChangeFont(const ElementFont& font, const std::string& title, ScriptShift shift);
    // The start or end of a link from the current end on.
    void SetLink(const UrlTarget& target, const std::vector<ElementFont>* states);
    InlineImage& InsertImage(const AttributeList& attributes, int sourceIndex);
    // A window in the text (a form control, a panel) taking the room it asks for; ALIGN, HSPACE
    // and VSPACE of `attributes` place it as they place a picture.
    InlineImage& InsertControl(IInlineControl& control, const AttributeList& attributes,
                               int sourceIndex);

    // White space cleaned, the source map built; run when the section joins its cell.
    virtual void CloseText();
    bool Closed() const { return m_closed; }
    // Nothing to show: no character, no named anchor, no clear rule.
    bool IsEmpty() const;

    int Layout(const LayoutArgs& args, int& maxWidth, int& pos) override;
    int Paint(const PaintArgs& args) override;
    int HitLink(int x, int y, LinkHit& hit) override;
    int CaretAtPoint(int x, int y, CaretHit& caret) override;
    int DocIndexOf(int sourceIndex, bool prev) const override;
    bool PointOfCaret(int pos, bool measure, int& x, int& y) override;
    bool CharAt(int pos, char16_t& ch) const override;
    void MeasureWidths(int& min, int& max) override;
    void Dump(std::string& out, int depth) const override;

    // Width of `count` characters from `start`: text runs in their fonts, inline images and
    // controls; `dropTrailing` leaves trailing spaces and breaks out.
    int TextWidth(int start, int count, bool dropTrailing) const;
    // How many characters from `start` fit in `width` on a laid-out line (justification counted).
    int FitCountAt(const LineRec& line, int width) const;
    // Width of the first `count` characters of a line as painted.
    int LineWidthTo(const LineRec& line, int count) const;

    const FontRun& FontAt(int offset) const;
    // Characters from `offset` to the next font change.
    int FontCountAt(int offset) const;
    const InlineImage* ImageAt(int offset) const;

    std::u16string text;
    std::string breakFlags;  // 'y' a line may break at the character, 'n' not
    std::vector<int> sourceIndexes;
    std::vector<std::unique_ptr<FontRun>> fonts;
    std::vector<std::unique_ptr<InlineImage>> images;
    std::vector<PositionRun> positionMap;
    std::vector<LineRec> lines;
    Justify justify = Justify::Left;
    ClearSide clear = ClearSide::None;
    int lineHeight = -1;
    int firstLineIndent = 0, firstLineIndentPercent = 0;
    int sectionNumber = 0;
    int paintX = 0, availRight = 0;
    bool holdsAnchor = false;

protected:
    void RemoveChar(int offset);
    void NumberAndMap();
    int LayoutLines(const LayoutArgs& args, int& maxWidth, int& pos, bool wrap);
    // Offset of the next font change, image or control after `offset` (or `end`).
    int NextObjectOffset(int offset, int end) const;
    int JustifiedShare(const LineRec& line, int spaceIndex) const;
    void CollectLineBorders(LineRec& line);

    int m_minWidthCache = -1, m_maxWidthCache = 0;
    bool m_closed = false;

    friend class LineBreaker;
};

// Preformatted text: white space kept, lines broken only at line ends.
class PreformattedSection : public TextSection
{
public:
    using TextSection::TextSection;
    void CloseText() override;
    void MeasureWidths(int& min, int& max) override;
    int Layout(const LayoutArgs& args, int& maxWidth, int& pos) override;
    void Dump(std::string& out, int depth) const override;
};

}  // namespace htmlview
