#include "support/cipher/blowfish.h"

#include <gtest/gtest.h>

#include "support/cipher/tests/hex.h"

namespace {

using cipher::test::FromHex;

struct BlockCase
{
    std::string key;
    std::string plain;
    std::string cipher;
};

uint64_t Transform(const std::vector<uint8_t>& key, uint64_t block, bool encrypt)
{
    cipher::BlowfishKeySchedule schedule(key.data(), key.size());
    uint32_t left = uint32_t(block >> 32), right = uint32_t(block);
    if (encrypt)
        schedule.EncryptBlock(left, right);
    else
        schedule.DecryptBlock(left, right);
    return uint64_t(left) << 32 | right;
}

std::vector<uint8_t> RepeatTo56(const std::vector<uint8_t>& key)
{
    std::vector<uint8_t> out;
    while (out.size() < 56)
        out.insert(out.end(), key.begin(), key.end());
    out.resize(56);
    return out;
}

TEST(BlowfishKeySchedule, MatchesPublishedAndReferenceVectors)
{
    const BlockCase cases[] = {
        // Published vectors for 8-byte keys.
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        // A 56-byte key (bytes 01 to 38), enciphered by an independent implementation.
        {"0102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F202122232425262728292A2B"
         "2C2D2E2F303132333435363738",
         "0000000000000001", "8AE1C55A4770F4A7"},
        {"0102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F202122232425262728292A2B"
         "2C2D2E2F303132333435363738",
         "0123456789ABCDEF", "D08F329BFCFD1564"},
        {"0102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F202122232425262728292A2B"
         "2C2D2E2F303132333435363738",
         "FFFFFFFFFFFFFFFF", "4AD778E4E673D6B1"},
    };
    for (const auto& c : cases) {
        const auto key = FromHex(c.key);
        const uint64_t plain = std::stoull(c.plain, nullptr, 16);
        const uint64_t expected = std::stoull(c.cipher, nullptr, 16);
        EXPECT_EQ(Transform(key, plain, true), expected) << c.key << " " << c.plain;
        EXPECT_EQ(Transform(key, expected, false), plain) << c.key << " " << c.cipher;
        // An 8-byte key repeated to 56 bytes cycles over the P-array identically.
        if (key.size() == 8) {
            EXPECT_EQ(Transform(RepeatTo56(key), plain, true), expected) << c.key;
        }
    }
}

}  // namespace
