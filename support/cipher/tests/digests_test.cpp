#include "support/cipher/digests.h"

#include <gtest/gtest.h>

#include <string>

#include "support/cipher/tests/hex.h"

namespace {

using cipher::test::ToHex;

struct DigestCase
{
    std::string message;
    const char* digest;
};

const uint8_t* Bytes(const std::string& s)
{
    return reinterpret_cast<const uint8_t*>(s.data());
}

TEST(Sha1, MatchesStandardVectors)
{
    const DigestCase cases[] = {
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        // 56 bytes: the length no longer fits the first padding block.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
    };
    for (const auto& c : cases) {
        const auto digest = cipher::Sha1(Bytes(c.message), c.message.size());
        EXPECT_EQ(ToHex(digest.data(), digest.size()), c.digest) << c.message.substr(0, 60);
    }
}

TEST(Sha1Stream, PiecesAndEveryPrefixMatchTheWholeMessage)
{
    // Pieces that straddle, fill and skip whole 64-byte blocks.
    std::string message;
    for (int i = 0; i < 300; ++i)
        message += char('a' + i % 26);
    const size_t pieces[] = {0, 1, 62, 1, 64, 7, 128, 37};
    cipher::Sha1Stream stream;
    size_t fed = 0;
    for (const size_t piece : pieces) {
        stream.Update(Bytes(message) + fed, piece);
        fed += piece;
        const auto digest = stream.Digest();
        EXPECT_EQ(ToHex(digest.data(), digest.size()),
                  ToHex(cipher::Sha1(Bytes(message), fed).data(), 20))
            << fed;
    }
}

TEST(Md5, MatchesStandardVectors)
{
    const DigestCase cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) {
        const auto digest = cipher::Md5(Bytes(c.message), c.message.size());
        EXPECT_EQ(ToHex(digest.data(), digest.size()), c.digest) << c.message;
    }
}

}  // namespace
