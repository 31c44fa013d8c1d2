#include "support/cipher/base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Encode(const std::string& data)
{
    std::string out(cipher::Base64EncodedLength(data.size()), '?');
    cipher::Base64Encode(reinterpret_cast<const uint8_t*>(data.data()), data.size(), out.data());
    return out;
}

std::string Decode(const std::string& text, size_t maxChars, size_t capacity)
{
    std::vector<uint8_t> out(capacity + 4, 0xEE);
    const size_t written =
        cipher::Base64DecodeLenient(text.c_str(), maxChars, out.data(), capacity);
    EXPECT_EQ(out[capacity], 0xEE) << "wrote past the capacity";
    return std::string(out.begin(), out.begin() + written);
}

TEST(Base64, EncodesRfc4648Vectors)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [data, text] : cases) {
        EXPECT_EQ(Encode(data), text);
        EXPECT_EQ(Decode(text, text.size(), 16), data) << text;
    }
}

TEST(Base64, DecodesLeniently)
{
    struct Case
    {
        std::string text;
        size_t maxChars;
        size_t capacity;
        std::string expected;
    };
    const Case cases[] = {
        {"Zm9v\r\nYmFy", 100, 16, "foobar"},           // line breaks are skipped
        {"Zm9vYmFy", 4, 16, "foo"},                    // stops at maxChars
        {std::string("Zm9v\0YmFy", 9), 9, 16, "foo"},  // stops at the zero
        {"Zm9vYmFy", 100, 2, "fo"},                    // never writes past the capacity
        {"Zm9vYg", 100, 16, "foob"},                   // a short group yields its whole bytes
        {"Z", 100, 16, ""},                            // six bits make no byte
        {"====", 100, 16, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decode(c.text, c.maxChars, c.capacity), c.expected) << c.text;
}

}  // namespace
