#include <algorithm>

#include "setup/htmlview/layout/layout_dump.h"
#include "setup/htmlview/layout/text_section.h"

namespace htmlview {

namespace {

// Line text for the dump: placeholders as '#', breaks as '|', other non-ASCII as '?'.
std::string Printable(std::u16string_view text)
{
    std::string out;
    for (const char16_t c : text)
        out += c == kImageMark || c == kControlMark ? '#'
               : c == kBreakMark                    ? '|'
               : c >= 0x20 && c < 0x7F              ? static_cast<char>(c)
                                                    : '?';
    return out;
}

void DumpText(const TextSection& s, std::string& out, int depth, const char* kind)
{
    DumpLine(out, depth, kind,
             {{"y", s.originY},
              {"h", s.layoutHeight},
              {"paint", s.paintHeight},
              {"pos", s.firstPos},
              {"count", s.posCount}});
    for (const LineRec& line : s.lines) {
        const std::u16string_view text = std::u16string_view(s.text).substr(
            static_cast<std::size_t>(line.start), static_cast<std::size_t>(line.charCount));
        DumpLine(out, depth + 1, "line",
                 {{"start", line.start},
                  {"count", line.charCount},
                  {"indent", line.indent},
                  {"h", line.textHeight},
                  {"before", line.spaceBefore},
                  {"after", line.spaceAfter},
                  {"extra", line.extraWidth}},
                 Printable(text));
    }
    for (const auto& image : s.images)
        DumpLine(out, depth + 1, image->IsFloat() ? "float" : "image",
                 {{"pos", image->pos},
                  {"w", image->imageWidth},
                  {"h", image->imageHeight},
                  {"indent", image->floatIndent},
                  {"y", image->paintY}});
}

}  // namespace

void TextSection::Dump(std::string& out, int depth) const
{
    DumpText(*this, out, depth, "text");
}

void PreformattedSection::Dump(std::string& out, int depth) const
{
    DumpText(*this, out, depth, "pre");
}

}  // namespace htmlview
