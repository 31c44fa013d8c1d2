// The encodings and line ends of the text files the script reads and writes: the byte-order mark
// decides between ANSI, UTF-8 and UTF-16; the engine's texts are ANSI, converted at the edge.
#pragma once

#include <string>
#include <string_view>

namespace setup::engine {

enum class TextEncoding
{
    Ansi,     // no byte-order mark: the ANSI code page, as the engine's own texts
    Utf8,     // EF BB BF
    Utf16Le,  // FF FE
    Utf16Be,  // FE FF
};

// The ANSI code page's conversions to and from UTF-16.
class IAnsiCodec
{
public:
    virtual ~IAnsiCodec() = default;
    virtual std::u16string ToUtf16(std::string_view ansi) = 0;
    virtual std::string FromUtf16(std::u16string_view text) = 0;
};

TextEncoding DetectTextEncoding(std::string_view bytes);

// The file's text after its byte-order mark, in ANSI.
std::string DecodeTextFile(std::string_view bytes, IAnsiCodec& codec);

// The file's bytes with one more line: first, or last. The existing bytes stay as they are; the
// new line is written in the file's encoding and with its first line end (CR LF when it has
// none). A file that ends without a line end keeps doing so.
std::string InsertTextLine(std::string_view bytes, std::string_view ansiLine, bool first,
                           IAnsiCodec& codec);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace setup::engine
