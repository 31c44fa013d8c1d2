// Deterministic stand-ins for the system interfaces: code pages 65001 and 1252 only, a font list
// and charset answers that tests set, a fixed character advance and a clock that tests move.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "setup/htmlview/util/platform.h"

namespace htmlview {

class FakeCodePages : public ICodePages
{
public:
    std::u16string ToWide(int codePage, std::string_view bytes) const override;
    std::string FromWide(int codePage, std::u16string_view text) const override;
    int NextCharLength(int codePage, std::string_view text) const override;
    int AnsiCodePage() const override { return 1252; }
};

class FakeFontCatalog : public IFontCatalog
{
public:
    FakeFontCatalog();
    bool IsInstalled(std::string_view family) const override;
    int ReportedCharset(int requestedCharset) const override;
    int PixelsPerInch() const override { return m_pixelsPerInch; }
    std::uint32_t SystemColor(int index) const override;

    std::set<std::string> installed;      // lower-case family names
    std::map<int, int> reportedCharsets;  // requested -> reported; others report themselves
    int m_pixelsPerInch = 96;
};

// Every character advances `advance` pixels; the character height is the font's |height|.
class FakeTextMeasurer : public ITextMeasurer
{
public:
    FontMetrics Metrics(const FontRequest& font) override;
    int TextWidth(const FontRequest& font, std::u16string_view text) override;
    int FitCount(const FontRequest& font, std::u16string_view text, int maxWidth,
                 int& width) override;

    int advance = 8;
};

class FakeClock : public IClock
{
public:
    std::uint32_t Milliseconds() const override { return now; }
    std::uint32_t now = 0;
};

}  // namespace htmlview
