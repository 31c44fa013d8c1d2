#include "setup/htmlview/util/platform_win32.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>

#include "core/unique_handle.h"
#include "setup/htmlview/util/font_win32.h"

namespace htmlview {

namespace {

int CappedLength(std::size_t length)
{
    return static_cast<int>(std::min<std::size_t>(length, INT_MAX / 4));
}

const wchar_t* AsWide(std::u16string_view text)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return reinterpret_cast<const wchar_t*>(text.data());
}

// A screen-compatible memory DC with a font selected for as long as it lives.
class MeasuringDc
{
public:
    explicit MeasuringDc(const FontRequest& request)
        : m_dc(::CreateCompatibleDC(nullptr)), m_font(CreateRequestedFont(request))
    {
        if (m_dc && m_font)
            m_previous = ::SelectObject(m_dc.Get(), m_font.Get());
    }
    ~MeasuringDc()
    {
        if (m_previous)
            ::SelectObject(m_dc.Get(), m_previous);
    }
    HDC Get() const { return m_dc.Get(); }

private:
    core::UniqueMemoryDc m_dc;
    core::UniqueGdiObject m_font;
    HGDIOBJ m_previous = nullptr;
};

}  // namespace

HFONT CreateRequestedFont(const FontRequest& request)
{
    LOGFONTA logFont{};
    logFont.lfHeight = request.height;
    logFont.lfWeight = request.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = request.italic;
    logFont.lfUnderline = request.underline;
    logFont.lfStrikeOut = request.strikeOut;
    logFont.lfCharSet = static_cast<BYTE>(request.charset);
    // Plain pixels: text keeps its exact colours, on palette screens too.
    logFont.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynA(logFont.lfFaceName, request.name.c_str(), LF_FACESIZE);
    return ::CreateFontIndirectA(&logFont);
}

std::u16string CodePagesWin32::ToWide(int codePage, std::string_view bytes) const
{
    const int length = CappedLength(bytes.size());
    if (length == 0)
        return {};
    const int needed = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::u16string out(needed, u'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(out.data()),
                          needed);
    return out;
}

std::string CodePagesWin32::FromWide(int codePage, std::u16string_view text) const
{
    const int length = CappedLength(text.size());
    if (length == 0)
        return {};
    const int needed =
        ::WideCharToMultiByte(codePage, 0, AsWide(text), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string out(needed, '\0');
    ::WideCharToMultiByte(codePage, 0, AsWide(text), length, out.data(), needed, nullptr, nullptr);
    return out;
}

int CodePagesWin32::NextCharLength(int codePage, std::string_view text) const
{
    if (text.empty())
        return 0;
    // CharNextExA reads up to a NUL: a two-byte copy is enough to find the next character.
    char pair[3] = {text[0], text.size() > 1 ? text[1] : '\0', '\0'};
    const char* next = ::CharNextExA(static_cast<WORD>(codePage), pair, 0);
    return next ? static_cast<int>(next - pair) : 0;
}

int CodePagesWin32::AnsiCodePage() const
{
    return static_cast<int>(::GetACP());
}

namespace {

int CALLBACK MarkFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

}  // namespace

bool FontCatalogWin32::IsInstalled(std::string_view family) const
{
    if (family.empty() || family.size() >= LF_FACESIZE)
        return false;
    core::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    LOGFONTA logFont{};
    logFont.lfCharSet = DEFAULT_CHARSET;
    std::copy(family.begin(), family.end(), logFont.lfFaceName);
    bool found = false;
    ::EnumFontFamiliesExA(dc.Get(), &logFont, MarkFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

int FontCatalogWin32::ReportedCharset(int requestedCharset) const
{
    FontRequest request;
    request.name = "Arial";
    request.charset = requestedCharset;
    const MeasuringDc dc(request);
    return ::GetTextCharset(dc.Get());
}

int FontCatalogWin32::PixelsPerInch() const
{
    core::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    return ::GetDeviceCaps(dc.Get(), LOGPIXELSY);
}

std::uint32_t FontCatalogWin32::SystemColor(int index) const
{
    return ::GetSysColor(index);
}

FontMetrics TextMeasurerWin32::Metrics(const FontRequest& font)
{
    const MeasuringDc dc(font);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.Get(), &tm);
    FontMetrics metrics;
    metrics.height = tm.tmHeight;
    metrics.ascent = tm.tmAscent;
    metrics.descent = tm.tmDescent;
    metrics.internalLeading = tm.tmInternalLeading;
    metrics.externalLeading = tm.tmExternalLeading;
    metrics.averageCharWidth = tm.tmAveCharWidth;
    metrics.maxCharWidth = tm.tmMaxCharWidth;
    metrics.charset = tm.tmCharSet;
    return metrics;
}

int TextMeasurerWin32::TextWidth(const FontRequest& font, std::u16string_view text)
{
    const MeasuringDc dc(font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), AsWide(text), CappedLength(text.size()), &size);
    return size.cx;
}

int TextMeasurerWin32::FitCount(const FontRequest& font, std::u16string_view text, int maxWidth,
                                int& width)
{
    width = 0;
    if (maxWidth <= 0 || text.empty())
        return 0;
    const MeasuringDc dc(font);
    int fit = 0;
    SIZE size{};
    ::GetTextExtentExPointW(dc.Get(), AsWide(text), CappedLength(text.size()), maxWidth, &fit,
                            nullptr, &size);
    if (fit > 0) {
        ::GetTextExtentPoint32W(dc.Get(), AsWide(text), fit, &size);
        width = size.cx;
    }
    return fit;
}

std::uint32_t ClockWin32::Milliseconds() const
{
    return ::GetTickCount();
}

}  // namespace htmlview
