// The narrow interfaces through which the viewer's portable code reaches the system: code pages,
// installed fonts and system colours, text measuring and the clock. Each has a Win32 implementation
// and a deterministic fake, so parsing, styling and layout run natively under the sanitizers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace htmlview {

// Conversions between a code page's bytes and UTF-16.
class ICodePages
{
public:
    virtual ~ICodePages() = default;
    // Empty when the code page converts nothing of the bytes.
    virtual std::u16string ToWide(int codePage, std::string_view bytes) const = 0;
    virtual std::string FromWide(int codePage, std::u16string_view text) const = 0;
    // Byte length of the character that starts the text in a multi-byte code page; 0 for none.
    virtual int NextCharLength(int codePage, std::string_view text) const = 0;
    // The system's ANSI code page, the fallback of every conversion.
    virtual int AnsiCodePage() const = 0;
};

// What the system tells about fonts and colours.
class IFontCatalog
{
public:
    virtual ~IFontCatalog() = default;
    // A family of this name is installed (compared ignoring case).
    virtual bool IsInstalled(std::string_view family) const = 0;
    // The character set the system reports for an "Arial" font asked for with this one.
    virtual int ReportedCharset(int requestedCharset) const = 0;
    // Vertical pixels per inch of the screen.
    virtual int PixelsPerInch() const = 0;
    // The RGB value (red in the low byte) of a system colour index.
    virtual std::uint32_t SystemColor(int index) const = 0;
};

// A font as the layout asks for it.
struct FontRequest
{
    std::string name;
    int height = 0;  // negative: character height in pixels, as fonts are created
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 1;
};

struct FontMetrics
{
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
    int maxCharWidth = 0;
    int charset = 0;
};

// Measures text in a font.
class ITextMeasurer
{
public:
    virtual ~ITextMeasurer() = default;
    virtual FontMetrics Metrics(const FontRequest& font) = 0;
    virtual int TextWidth(const FontRequest& font, std::u16string_view text) = 0;
    // How many leading characters fit in maxWidth, and their width.
    virtual int FitCount(const FontRequest& font, std::u16string_view text, int maxWidth,
                         int& width) = 0;
};

// Milliseconds from an arbitrary start, for animations and timers.
class IClock
{
public:
    virtual ~IClock() = default;
    virtual std::uint32_t Milliseconds() const = 0;
};

}  // namespace htmlview
