#include "setup/htmlview/parser/charsets.h"

#include <array>

#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

struct CharsetName
{
    std::string_view fragment;
    int charset;
};

// Searched in this order: the first fragment found wins ("8859-1" also catches "8859-15").
constexpr std::array<CharsetName, 46> kCharsetNames = {{
    {"1252", 0},         {"8859-1", 0},    {"1253", 161},       {"8859-7", 161},
    {"1250", 238},       {"8859-2", 31},   {"1251", 204},       {"8859-5", 204},
    {"koi", 204},        {"866", 204},     {"1254", 162},       {"8859-3", 162},
    {"8859-9", 162},     {"1257", 186},    {"8859-4", 186},     {"932", 128},
    {"949", 129},        {"936", 134},     {"950", 136},        {"1255", 177},
    {"1256", 178},       {"1258", 163},    {"874", 222},        {"ansi", 0},
    {"default", 1},      {"symbol", 2},    {"shiftjis", 128},   {"shift_jis", 128},
    {"x-sjis", 128},     {"hangeul", 129}, {"gb2312", 134},     {"big5", 136},
    {"oem", 255},        {"johab", 130},   {"hebrew", 177},     {"arabic", 178},
    {"greek", 161},      {"turkish", 162}, {"vietnamese", 163}, {"thai", 222},
    {"easteurope", 238}, {"russian", 204}, {"euc-kr", 129},     {"5601", 129},
    {"euc-jp", 30},      {"8859-15", 0},
}};

// One JIS double-byte pair to Shift-JIS.
void AppendShiftJisPair(std::string& out, unsigned c1, unsigned c2)
{
    const unsigned first = ((c1 + 1) >> 1) + (c1 >= 33 && c1 <= 96 ? 112 : 176);
    unsigned second;
    if (c1 % 2 == 0)
        second = c2 + 126;
    else
        second = c2 >= 96 ? c2 + 32 : c2 + 31;
    out += static_cast<char>(first & 0xFF);
    out += static_cast<char>(second & 0xFF);
}

}  // namespace

std::optional<int> CharsetOfContent(std::string_view content)
{
    const std::string lower = LowerAscii(content);
    for (const CharsetName& name : kCharsetNames)
        if (lower.find(name.fragment) != std::string::npos)
            return name.charset;
    return std::nullopt;
}

bool HasJisEscape(std::string_view text)
{
    return text.find("\x1b$@") != std::string_view::npos ||
           text.find("\x1b$B") != std::string_view::npos;
}

std::string JisToShiftJis(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool doubleByte = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned c = static_cast<unsigned char>(text[i]) & 0x7F;
        if (c == 0x1B && i + 2 < text.size()) {
            const char a = static_cast<char>(static_cast<unsigned char>(text[i + 1]) & 0x7F);
            const char b = static_cast<char>(static_cast<unsigned char>(text[i + 2]) & 0x7F);
            if (a == '(' && (b == 'B' || b == 'J')) {
                doubleByte = false;
                i += 3;
                continue;
            }
            if (a == '$' && (b == '@' || b == 'B')) {
                doubleByte = true;
                i += 3;
                continue;
            }
        }
        if (!doubleByte) {
            out += static_cast<char>(c);
            ++i;
        } else if (i + 1 < text.size()) {
            AppendShiftJisPair(out, c, static_cast<unsigned char>(text[i + 1]) & 0x7F);
            i += 2;
        } else {
            ++i;  // half a pair at the end
        }
    }
    return out;
}

std::string EucJpToShiftJis(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool haveFirst = false;
    unsigned first = 0;
    for (const char byte : text) {
        const unsigned c = static_cast<unsigned char>(byte);
        if (c <= 160) {
            out += byte;
            haveFirst = false;
        } else if (!haveFirst) {
            first = c & 0x7F;
            haveFirst = true;
        } else {
            AppendShiftJisPair(out, first, c & 0x7F);
            haveFirst = false;
        }
    }
    return out;
}

}  // namespace htmlview
