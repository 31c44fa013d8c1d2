#include "support/cipher/string_cipher.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/cipher/base64.h"
#include "support/cipher/digests.h"
#include "support/cipher/tests/hex.h"

namespace {

using cipher::test::FromHex;
using cipher::test::ToHex;

struct Free
{
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
std::unique_ptr<T, Free> Own(T* p)
{
    return std::unique_ptr<T, Free>(p);
}

const uint8_t* Bytes(const char* s)
{
    return reinterpret_cast<const uint8_t*>(s);
}

std::vector<uint8_t> TestKey()
{
    std::vector<uint8_t> key(56);
    for (int i = 0; i < 56; ++i)
        key[i] = uint8_t(i + 1);
    return key;
}

TEST(StringCipher, EncipheredLengthLeavesRoomForAZero)
{
    const std::pair<size_t, size_t> cases[] = {{0, 8}, {1, 8}, {7, 8}, {8, 16}, {13, 16}, {16, 24}};
    for (const auto& [n, length] : cases)
        EXPECT_EQ(cipher::EncipheredLength(n), length) << n;
}

TEST(StringCipher, SixteenBytesGiveTwentyFourWithAZeroLastBlock)
{
    const auto key = TestKey();
    auto enciphered = Own(cipher::EncryptBlowfish(Bytes("0123456789abcdef"), key.data(), 16));
    EXPECT_EQ(ToHex(enciphered.get() + 16, 8), "0000000000000000");
    EXPECT_NE(ToHex(enciphered.get(), 8), ToHex(Bytes("01234567"), 8));

    auto text = Own(cipher::EncryptBlowfishBase64(Bytes("0123456789abcdef"), key.data(), 16));
    EXPECT_EQ(std::strlen(text.get()), 32u);
}

TEST(StringCipher, ZeroBlocksPassThroughBothWays)
{
    const auto key = TestKey();
    uint8_t data[24] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};  // block 1 stays zero
    std::memcpy(data + 16, "ijklmnop", 8);
    auto enciphered = Own(cipher::EncryptBlowfish(data, key.data(), 24));
    EXPECT_EQ(ToHex(enciphered.get() + 8, 8), "0000000000000000");
    EXPECT_EQ(ToHex(enciphered.get() + 24, 8), "0000000000000000");
    auto deciphered = Own(cipher::DecryptBlowfish(enciphered.get(), key.data(), 32));
    EXPECT_EQ(ToHex(deciphered.get(), 24), ToHex(data, 24));
}

TEST(StringCipher, SameDataAndKeyGiveSameBytes)
{
    const auto key = TestKey();
    // ECB: two equal blocks encipher alike, and two calls agree.
    auto first = Own(cipher::EncryptBlowfish(Bytes("8bytes!!8bytes!!"), key.data(), 16));
    auto second = Own(cipher::EncryptBlowfish(Bytes("8bytes!!8bytes!!"), key.data(), 16));
    EXPECT_EQ(ToHex(first.get(), 8), ToHex(first.get() + 8, 8));
    EXPECT_EQ(ToHex(first.get(), 24), ToHex(second.get(), 24));
}

TEST(StringCipher, ThirteenCharactersComeBackZeroTerminated)
{
    const auto key = TestKey();
    const char text[] = "Hello, world!";  // 13 characters
    auto enciphered = Own(cipher::EncryptBlowfish(Bytes(text), key.data(), 13));
    auto deciphered = Own(cipher::DecryptBlowfish(enciphered.get(), key.data(), 16));
    EXPECT_STREQ(reinterpret_cast<char*>(deciphered.get()), text);
}

TEST(StringCipher, PassPhraseVectorsFromAnIndependentImplementation)
{
    struct Case
    {
        std::string data;  // enciphered with its terminating zero
        std::string passPhrase;
        const char* base64;
    };
    const Case cases[] = {
        {std::string("Hello, world!", 14), "secret", "zRVRuitE6BgijicfUTSMxA=="},
        {"The quick brown fox", "pass phrase", "HumdGiOhq0ONBRYB8mV23FhhpuZJ5u98"},
    };
    for (const auto& c : cases) {
        auto text = Own(cipher::EncryptBlowfishBase64(Bytes(c.data.c_str()),
                                                      uint32_t(c.data.size()), c.passPhrase));
        EXPECT_STREQ(text.get(), c.base64);
        auto plain = Own(
            cipher::DecryptBlowfishBase64(c.base64, uint32_t(std::strlen(c.base64)), c.passPhrase));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(plain.get())), c.data.c_str());
    }
}

TEST(StringCipher, Base64WithLineBreaksDecodesAlike)
{
    const char* plain = "zRVRuitE6BgijicfUTSMxA==";
    const char* broken = "zRVRuitE\r\n6BgijicfUTSMxA==";
    auto a = Own(cipher::DecryptBlowfishBase64(plain, uint32_t(std::strlen(plain)), "secret"));
    auto b = Own(cipher::DecryptBlowfishBase64(broken, uint32_t(std::strlen(broken)), "secret"));
    EXPECT_STREQ(reinterpret_cast<char*>(a.get()), "Hello, world!");
    EXPECT_STREQ(reinterpret_cast<char*>(b.get()), "Hello, world!");
}

TEST(StringCipher, ShortAndOddInputsStayInsideTheirBuffers)
{
    // Under the sanitizers these would report any read or write past a buffer.
    const auto key = TestKey();
    const char* texts[] = {"", "Q", "QUJD", "QUJDREVGRw", "QUJDREVGR0hJSktMTU5PUA==="};
    for (const char* text : texts)
        for (uint32_t n = 0; n <= std::strlen(text); ++n) {
            auto plain = Own(cipher::DecryptBlowfishBase64(text, key.data(), n));
            ASSERT_NE(plain, nullptr);
        }
    const uint8_t data[13] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    for (uint32_t n = 0; n <= 13; ++n)
        ASSERT_NE(Own(cipher::DecryptBlowfish(data, key.data(), n)), nullptr);
}

TEST(StringCipher, NullInputsReadAsEmpty)
{
    const auto key = TestKey();
    auto enciphered = Own(cipher::EncryptBlowfish(nullptr, key.data(), 40));
    EXPECT_EQ(ToHex(enciphered.get(), 8), "0000000000000000");
    EXPECT_EQ(Own(cipher::EncryptBlowfish(Bytes("x"), nullptr, 1)), nullptr);
    auto digest = Own(cipher::Sha1Hash(nullptr, 5));
    EXPECT_EQ(ToHex(digest.get(), 20), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
}

TEST(Expand, IteratesSha1OverEarlierBlocks)
{
    struct Case
    {
        std::string seed;
        uint32_t length;
        const char* expected;
    };
    // Computed with an independent SHA-1.
    const Case cases[] = {
        {"abc", 20, "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"abc", 41,
         "a9993e364706816aba3e25717850c26c9cd0d89d0d3ced9bec10a777aec23ccc353a8c08a633045e78"},
        {"secret", 56,
         "e5e9fa1ba31ecd1ae84f75caaa474f3a663f05f414e65567abdb5135d0cfd9a70b3032c179a49ee715165c8a7"
         "e"
         "435d60fc21257b5e46da74"},
        {"", 56,
         "da39a3ee5e6b4b0d3255bfef95601890afd80709be1bdec0aa74b4dcb079943e70528096cca985f8fc7857ae7"
         "8"
         "90304dfbe470107a4afe87"},
        {"abc", 0, ""},
    };
    for (const auto& c : cases) {
        auto key = Own(cipher::Expand(Bytes(c.seed.c_str()), uint32_t(c.seed.size()), c.length));
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(ToHex(key.get(), c.length), c.expected) << c.seed << " " << c.length;
    }
}

TEST(Expand, LongKeysFollowTheBlockRule)
{
    // The rule itself, block by block: each block is SHA-1 of all blocks before it.
    for (const uint32_t length : {60u, 61u, 1000u, 4099u}) {
        auto key = Own(cipher::Expand(Bytes("seed"), 4, length));
        ASSERT_NE(key, nullptr);
        std::vector<uint8_t> work(length / 20 * 20 + 20);
        const auto first = cipher::Sha1(Bytes("seed"), 4);
        std::memcpy(work.data(), first.data(), 20);
        for (size_t b = 1; 20 * b < length; ++b) {
            const auto block = cipher::Sha1(work.data(), 20 * b);
            std::memcpy(work.data() + 20 * b, block.data(), 20);
        }
        EXPECT_EQ(ToHex(key.get(), length), ToHex(work.data(), length)) << length;
    }
}

TEST(Expand, ConcurrentCallersGetTheirOwnKeys)
{
    const std::vector<std::string> seeds = {"alpha", "beta", "gamma", "delta"};
    std::vector<std::string> expected;
    for (const auto& seed : seeds)
        expected.push_back(
            ToHex(Own(cipher::Expand(Bytes(seed.c_str()), uint32_t(seed.size()), 56)).get(), 56));

    std::vector<int> mismatches(seeds.size(), 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < seeds.size(); ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                auto key =
                    Own(cipher::Expand(Bytes(seeds[t].c_str()), uint32_t(seeds[t].size()), 56));
                if (ToHex(key.get(), 56) != expected[t])
                    ++mismatches[t];
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(seeds.size(), 0));
}

}  // namespace
