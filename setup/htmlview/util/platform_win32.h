// The system interfaces of the viewer as Windows answers them.
#pragma once

#include "setup/htmlview/util/platform.h"

namespace htmlview {

class CodePagesWin32 : public ICodePages
{
public:
    std::u16string ToWide(int codePage, std::string_view bytes) const override;
    std::string FromWide(int codePage, std::u16string_view text) const override;
    int NextCharLength(int codePage, std::string_view text) const override;
    int AnsiCodePage() const override;
};

class FontCatalogWin32 : public IFontCatalog
{
public:
    bool IsInstalled(std::string_view family) const override;
    int ReportedCharset(int requestedCharset) const override;
    int PixelsPerInch() const override;
    std::uint32_t SystemColor(int index) const override;
};

// Measures on a memory device context compatible with the screen.
class TextMeasurerWin32 : public ITextMeasurer
{
public:
    FontMetrics Metrics(const FontRequest& font) override;
    int TextWidth(const FontRequest& font, std::u16string_view text) override;
    int FitCount(const FontRequest& font, std::u16string_view text, int maxWidth,
                 int& width) override;
};

class ClockWin32 : public IClock
{
public:
    std::uint32_t Milliseconds() const override;
};

}  // namespace htmlview
