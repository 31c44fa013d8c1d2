#include <gtest/gtest.h>

#include "setup/media/net/base64.h"
#include "setup/media/net/des.h"
#include "setup/media/net/hex_digits.h"
#include "setup/media/net/md4.h"

namespace {

using namespace net;

std::string FromHex(std::string_view hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(HexDigitValue(hex[i]) * 16 + HexDigitValue(hex[i + 1]));
    return bytes;
}

DesBlock Block(std::string_view hex)
{
    DesBlock block{};
    const std::string bytes = FromHex(hex);
    for (int i = 0; i < 8; ++i)
        block[i] = static_cast<std::uint8_t>(bytes[i]);
    return block;
}

TEST(Base64, MatchesTheStandardsVectorsBothWays)
{
    // RFC 4648, section 10.
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : cases) {
        EXPECT_EQ(EncodeBase64(plain), encoded) << plain;
        EXPECT_EQ(DecodeBase64(encoded), plain) << encoded;
    }
    const std::string allBytes = [] {
        std::string bytes;
        for (int i = 0; i < 256; ++i)
            bytes += static_cast<char>(i);
        return bytes;
    }();
    EXPECT_EQ(DecodeBase64(EncodeBase64(allBytes)), allBytes);
}

TEST(Base64, DecodingStopsEachGroupAtPaddingAndReadsShortInput)
{
    const std::pair<const char*, std::string> cases[] = {
        {"Zg==Zm8=", "ffo"},                      // "=" ends its group only
        {"Zm9", "fo"},                            // a short last group reads as padded
        {"Z", ""},                                // one character carries no byte
        {"Zm9v\r\n", std::string("foo") + '\0'},  // characters outside the alphabet count as 0
    };
    for (const auto& [encoded, plain] : cases)
        EXPECT_EQ(DecodeBase64(encoded), plain) << encoded;
}

TEST(Des, MatchesPublishedKnownAnswers)
{
    struct Case
    {
        const char *key, *plain, *cipher;
    };
    const Case cases[] = {
        {"133457799BBCDFF1", "0123456789ABCDEF", "85e813540f0ab405"},
        {"0101010101010101", "95F8A5E5DD31D900", "8000000000000000"},  // NIST variable text
        {"0000000000000000", "0000000000000000", "8ca64de9c1b123a7"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "7359b2163e4edc58"},
        {"0123456789ABCDEF", "4E6F772069732074", "3fa40e8a984d4815"},  // FIPS 81 "Now is t"
    };
    for (const Case& c : cases) {
        const DesBlock cipher = DesEncryptBlock(Block(c.key), Block(c.plain));
        EXPECT_EQ(ToHex({reinterpret_cast<const char*>(cipher.data()), 8}), c.cipher) << c.key;
    }
}

TEST(Md4, MatchesTheRfcTestSuite)
{
    // RFC 1320, appendix A.5.
    const std::pair<std::string, const char*> cases[] = {
        {"", "31d6cfe0d16ae931b73c59d7e0c089c0"},
        {"a", "bde52cb31de33e46245e05fbdbd6fb24"},
        {"abc", "a448017aaf21d8525fc10ae87aa6729d"},
        {"message digest", "d9130a8164549fe818874806e1c7014b"},
        {"abcdefghijklmnopqrstuvwxyz", "d79e1c308aa5bbcdeea8ed63df412da9"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "043f8582f241db351ce627e153e7f0e4"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "e33b4ddc9c38f2199c3e7b164fcc0536"},
    };
    for (const auto& [text, digest] : cases) {
        const Md4Digest whole = Md4Of(text);
        EXPECT_EQ(ToHex({reinterpret_cast<const char*>(whole.data()), 16}), digest) << text;
        // Fed in uneven pieces across block borders, the digest is the same.
        Md4 pieces;
        for (std::size_t at = 0; at < text.size(); at += 7)
            pieces.Update(std::string_view(text).substr(at, 7));
        EXPECT_EQ(pieces.Finish(), whole) << text;
    }
}

}  // namespace
