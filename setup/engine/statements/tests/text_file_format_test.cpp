#include "setup/engine/statements/text_file_format.h"

#include <gtest/gtest.h>

#include "setup/engine/testing/latin1_codec.h"

namespace setup::engine::testing {
namespace {

std::string Le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::string Be(std::u16string_view text)
{
    std::string bytes = "\xFE\xFF";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c >> 8);
        bytes += static_cast<char>(c & 0xFF);
    }
    return bytes;
}

TEST(TextFileFormat, InsertKeepsTheFileItsEncodingAndItsLineEnds)
{
    struct Case
    {
        const char* label;
        std::string before;
        bool first;
        std::string after;
    };
    const std::string utf8Mark = "\xEF\xBB\xBF";
    const Case cases[] = {
        {"missing, last", "", false, "new\r\n"},
        {"missing, first", "", true, "new\r\n"},
        {"CR LF, last", "a\r\nb\r\n", false, "a\r\nb\r\nnew\r\n"},
        {"CR LF, first", "a\r\nb\r\n", true, "new\r\na\r\nb\r\n"},
        {"LF, last", "a\nb\n", false, "a\nb\nnew\n"},
        {"LF without final end, last", "a\nb", false, "a\nb\nnew"},
        {"LF without final end, first", "a\nb", true, "new\na\nb"},
        {"CR, last", "a\rb\r", false, "a\rb\rnew\r"},
        {"one line without end", "a", false, "a\r\nnew"},
        {"mixed: the first end counts", "a\nb\r\n", false, "a\nb\r\nnew\n"},
        {"blank lines stay", "\n\n", true, "new\n\n\n"},
        {"Latin-1 bytes as they are", "\xE9t\xE9\r\n", false, "\xE9t\xE9\r\nn\xE9w\r\n"},
        {"UTF-8 with mark", utf8Mark + "a\n", false, utf8Mark + "a\nn\xC3\xA9w\n"},
        {"UTF-8 mark only", utf8Mark, true, utf8Mark + "n\xC3\xA9w\r\n"},
        {"UTF-16 LE, last", Le(u"\u20ACa\r\nb"), false, Le(u"\u20ACa\r\nb\r\nn\u00E9w")},
        {"UTF-16 LE, first", Le(u"a\nb\n"), true, Le(u"n\u00E9w\na\nb\n")},
        {"UTF-16 LE mark only", Le(u""), false, Le(u"n\u00E9w\r\n")},
        {"UTF-16 BE, last", Be(u"a\n"), false, Be(u"a\nn\u00E9w\n")},
    };
    Latin1Codec codec;
    for (const Case& c : cases) {
        const std::string line =
            std::string(c.label).starts_with("Latin") || std::string(c.label).starts_with("UTF")
                ? "n\xE9w"
                : "new";
        EXPECT_EQ(InsertTextLine(c.before, line, c.first, codec), c.after) << c.label;
    }
}

TEST(TextFileFormat, DecodesEachEncodingToTheEngineText)
{
    struct Case
    {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"a\r\nb", "a\r\nb"},
        {"\xE9", "\xE9"},
        {"\xEF\xBB\xBF"
         "a\xC3\xA9\xE2\x82\xAC",
         "a\xE9?"},
        {Le(u"a\u00E9\r\n"), "a\xE9\r\n"},
        {Be(u"\u00E9b"),
         "\xE9"
         "b"},
        {Le(u"ab") + "\x41", "ab"},  // an odd last byte is no character
        {"", ""},
    };
    Latin1Codec codec;
    for (const Case& c : cases)
        EXPECT_EQ(DecodeTextFile(c.bytes, codec), c.text);
}

TEST(TextFileFormat, Utf8RoundTripsAndMalformedInput)
{
    const std::u16string text = u"a\u00E9\u20AC\U0001F600";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(text), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    struct Case
    {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"\xC3", u"\uFFFD"},                                // cut short
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // a surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"\x80z", u"\uFFFDz"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.text);
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");  // a lone surrogate
}

}  // namespace
}  // namespace setup::engine::testing
