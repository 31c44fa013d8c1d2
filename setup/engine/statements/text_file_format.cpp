#include "setup/engine/statements/text_file_format.h"

#include <cstdint>

namespace setup::engine {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char16_t kReplacement = 0xFFFD;

std::size_t MarkSize(TextEncoding encoding)
{
    switch (encoding) {
        case TextEncoding::Utf8:
            return kUtf8Mark.size();
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            return kUtf16LeMark.size();
        case TextEncoding::Ansi:
            break;
    }
    return 0;
}

bool IsWide(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

// The body after the mark as code units: bytes, or 16-bit units of a UTF-16 file (an odd last
// byte is dropped).
std::u16string UnitsOf(std::string_view body, TextEncoding encoding)
{
    std::u16string units;
    if (!IsWide(encoding)) {
        for (const char c : body)
            units.push_back(static_cast<unsigned char>(c));
        return units;
    }
    const bool little = encoding == TextEncoding::Utf16Le;
    for (std::size_t i = 0; i + 1 < body.size(); i += 2) {
        const auto low = static_cast<unsigned char>(body[little ? i : i + 1]);
        const auto high = static_cast<unsigned char>(body[little ? i + 1 : i]);
        units.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    return units;
}

std::string WideBytes(std::u16string_view text, TextEncoding encoding)
{
    std::string bytes;
    const bool little = encoding == TextEncoding::Utf16Le;
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += little ? low : high;
        bytes += little ? high : low;
    }
    return bytes;
}

// The first line end of the text: CR LF, LF or CR; none when the text has no line end.
std::u16string FirstLineEnd(std::u16string_view units)
{
    const std::size_t at = units.find_first_of(u"\r\n");
    if (at == std::u16string_view::npos)
        return {};
    if (units[at] == u'\r')
        return at + 1 < units.size() && units[at + 1] == u'\n' ? u"\r\n" : u"\r";
    return u"\n";
}

// Bytes of a text of code units below 256 (line ends) in the file's encoding.
std::string EncodeUnits(std::u16string_view units, TextEncoding encoding)
{
    if (IsWide(encoding))
        return WideBytes(units, encoding);
    std::string bytes;
    for (const char16_t unit : units)
        bytes += static_cast<char>(unit);
    return bytes;
}

std::string EncodeLine(std::string_view ansiLine, TextEncoding encoding, IAnsiCodec& codec)
{
    switch (encoding) {
        case TextEncoding::Ansi:
            return std::string(ansiLine);
        case TextEncoding::Utf8:
            return Utf16ToUtf8(codec.ToUtf16(ansiLine));
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            break;
    }
    return WideBytes(codec.ToUtf16(ansiLine), encoding);
}

}  // namespace

TextEncoding DetectTextEncoding(std::string_view bytes)
{
    if (bytes.starts_with(kUtf8Mark))
        return TextEncoding::Utf8;
    if (bytes.starts_with(kUtf16LeMark))
        return TextEncoding::Utf16Le;
    if (bytes.starts_with(kUtf16BeMark))
        return TextEncoding::Utf16Be;
    return TextEncoding::Ansi;
}

std::string DecodeTextFile(std::string_view bytes, IAnsiCodec& codec)
{
    const TextEncoding encoding = DetectTextEncoding(bytes);
    const std::string_view body = bytes.substr(MarkSize(encoding));
    switch (encoding) {
        case TextEncoding::Ansi:
            return std::string(body);
        case TextEncoding::Utf8:
            return codec.FromUtf16(Utf8ToUtf16(body));
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            break;
    }
    return codec.FromUtf16(UnitsOf(body, encoding));
}

std::string InsertTextLine(std::string_view bytes, std::string_view ansiLine, bool first,
                           IAnsiCodec& codec)
{
    const TextEncoding encoding = DetectTextEncoding(bytes);
    const std::size_t markSize = MarkSize(encoding);
    const std::string_view mark = bytes.substr(0, markSize);
    std::string_view body = bytes.substr(markSize);
    if (IsWide(encoding) && body.size() % 2 != 0)
        body.remove_suffix(1);  // half a unit cannot be kept in front of a new one
    const std::u16string units = UnitsOf(body, encoding);
    std::u16string lineEnd = FirstLineEnd(units);
    if (lineEnd.empty())
        lineEnd = u"\r\n";
    const std::string end = EncodeUnits(lineEnd, encoding);
    const std::string line = EncodeLine(ansiLine, encoding, codec);

    std::string result(mark);
    if (units.empty()) {
        result += line + end;
    } else if (first) {
        result += line + end;
        result += body;
    } else {
        result += body;
        const bool endsWithLineEnd = units.back() == u'\n' || units.back() == u'\r';
        result += endsWithLineEnd ? line + end : end + line;
    }
    return result;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    constexpr std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    std::u16string result;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80                   ? 0
                          : lead >= 0xC2 && lead < 0xE0 ? 1
                          : lead >= 0xE0 && lead < 0xF0 ? 2
                          : lead >= 0xF0 && lead < 0xF5 ? 3
                                                        : -1;
        // A malformed sequence gives one replacement character for its lead byte.
        bool valid = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
        std::uint32_t code = valid ? lead & (0x7Fu >> (extra + (extra > 0 ? 1 : 0))) : 0;
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        valid = valid && code >= kMinimum[extra] && code <= 0x10FFFF &&
                (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            result.push_back(kReplacement);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(code));
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return result;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        if (code < 0x80) {
            result += static_cast<char>(code);
        } else if (code < 0x800) {
            result += static_cast<char>(0xC0 | (code >> 6));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            result += static_cast<char>(0xE0 | (code >> 12));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | (code >> 18));
            result += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return result;
}

}  // namespace setup::engine
