#include "setup/htmlview/util/fake_platform.h"

#include <cstdlib>

#include "setup/htmlview/util/text.h"
#include "setup/htmlview/util/utf8.h"

namespace htmlview {

namespace {

// Windows-1252's bytes 0x80-0x9F; 0 marks the five undefined ones, which map to themselves.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t Cp1252ToWide(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0 && kCp1252High[byte - 0x80] != 0)
        return kCp1252High[byte - 0x80];
    return byte;
}

}  // namespace

std::u16string FakeCodePages::ToWide(int codePage, std::string_view bytes) const
{
    if (codePage == 65001)
        return Utf8ToUtf16(bytes);
    if (codePage != 1252 && codePage != 0)
        return {};
    std::u16string out;
    for (const char c : bytes)
        out += Cp1252ToWide(static_cast<unsigned char>(c));
    return out;
}

std::string FakeCodePages::FromWide(int codePage, std::u16string_view text) const
{
    if (codePage == 65001)
        return Utf16ToUtf8(text);
    if (codePage != 1252 && codePage != 0)
        return {};
    std::string out;
    for (const char16_t c : text) {
        char byte = '?';
        if (c < 0x100 && Cp1252ToWide(static_cast<unsigned char>(c)) == c)
            byte = static_cast<char>(c);
        for (int i = 0; i < 32; ++i)
            if (kCp1252High[i] == c && c != 0)
                byte = static_cast<char>(0x80 + i);
        out += byte;
    }
    return out;
}

int FakeCodePages::NextCharLength(int codePage, std::string_view text) const
{
    return text.empty() ? 0 : 1;
}

FakeFontCatalog::FakeFontCatalog() : installed{"arial", "times new roman", "courier new"} {}

bool FakeFontCatalog::IsInstalled(std::string_view family) const
{
    return installed.count(LowerAscii(family)) != 0;
}

int FakeFontCatalog::ReportedCharset(int requestedCharset) const
{
    const auto found = reportedCharsets.find(requestedCharset);
    return found != reportedCharsets.end() ? found->second : requestedCharset;
}

std::uint32_t FakeFontCatalog::SystemColor(int index) const
{
    // Distinct and recognisable in a test: the index in every channel.
    const auto level = static_cast<std::uint32_t>(index & 0xFF);
    return level | (level << 8) | (level << 16);
}

FontMetrics FakeTextMeasurer::Metrics(const FontRequest& font)
{
    FontMetrics metrics;
    const int characterHeight = std::abs(font.height);
    metrics.internalLeading = characterHeight / 8;
    metrics.height = characterHeight + metrics.internalLeading;
    metrics.descent = metrics.height / 5;
    metrics.ascent = metrics.height - metrics.descent;
    metrics.averageCharWidth = advance;
    metrics.maxCharWidth = advance;
    metrics.charset = font.charset;
    return metrics;
}

int FakeTextMeasurer::TextWidth(const FontRequest& font, std::u16string_view text)
{
    return static_cast<int>(text.size()) * advance;
}

int FakeTextMeasurer::FitCount(const FontRequest& font, std::u16string_view text, int maxWidth,
                               int& width)
{
    int count = 0;
    if (advance > 0 && maxWidth > 0)
        count = static_cast<int>(std::min<std::size_t>(text.size(), maxWidth / advance));
    width = count * advance;
    return count;
}

}  // namespace htmlview
