#include "support/cipher/string_cipher.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "support/cipher/base64.h"
#include "support/cipher/blowfish.h"
#include "support/cipher/digests.h"

namespace cipher {
namespace {

struct FreeDeleter
{
    void operator()(void* p) const noexcept { std::free(p); }
};
template <typename T>
using MallocPtr = std::unique_ptr<T, FreeDeleter>;

// Never a null pointer for a zero size, so callers always get a buffer they may read as empty.
template <typename T = uint8_t>
T* AllocateZeroed(size_t bytes) noexcept
{
    return static_cast<T*>(std::calloc(bytes ? bytes : 1, 1));
}

bool IsZeroBlock(const uint8_t* block) noexcept
{
    for (int i = 0; i < 8; ++i)
        if (block[i])
            return false;
    return true;
}

// Blocks are read and written as two big-endian words.
void TransformBlock(const BlowfishKeySchedule& schedule, uint8_t* block, bool encrypt) noexcept
{
    uint32_t left =
        uint32_t(block[0]) << 24 | uint32_t(block[1]) << 16 | uint32_t(block[2]) << 8 | block[3];
    uint32_t right =
        uint32_t(block[4]) << 24 | uint32_t(block[5]) << 16 | uint32_t(block[6]) << 8 | block[7];
    if (encrypt)
        schedule.EncryptBlock(left, right);
    else
        schedule.DecryptBlock(left, right);
    for (int i = 0; i < 4; ++i) {
        block[i] = uint8_t(left >> (24 - 8 * i));
        block[4 + i] = uint8_t(right >> (24 - 8 * i));
    }
}

// Copies n data bytes into a zeroed buffer of bufferLength bytes and transforms every non-zero
// block.
uint8_t* TransformBlocks(const uint8_t* data, const uint8_t* key, size_t n, size_t bufferLength,
                         bool encrypt) noexcept
{
    if (!key)
        return nullptr;
    uint8_t* result = AllocateZeroed(bufferLength);
    if (!result)
        return nullptr;
    if (data && n)
        std::memcpy(result, data, n);
    const auto schedule = std::make_unique<BlowfishKeySchedule>(key, kKeyLength);
    for (size_t offset = 0; offset + 8 <= bufferLength; offset += 8)
        if (!IsZeroBlock(result + offset))
            TransformBlock(*schedule, result + offset, encrypt);
    return result;
}

MallocPtr<uint8_t> ExpandKey(std::string_view passPhrase) noexcept
{
    return MallocPtr<uint8_t>(Expand(reinterpret_cast<const uint8_t*>(passPhrase.data()),
                                     uint32_t(passPhrase.size()), kKeyLength));
}

template <size_t N>
uint8_t* CopyDigest(const std::array<uint8_t, N>& digest) noexcept
{
    uint8_t* result = AllocateZeroed(N);
    if (result)
        std::memcpy(result, digest.data(), N);
    return result;
}

}  // namespace

uint8_t* EncryptBlowfish(const uint8_t* data, const uint8_t* key, uint32_t n) noexcept
{
    if (!data)
        n = 0;
    return TransformBlocks(data, key, n, EncipheredLength(n), true);
}

uint8_t* DecryptBlowfish(const uint8_t* data, const uint8_t* key, uint32_t n) noexcept
{
    // A final block that n covers only in part is read with zeros after the given bytes.
    if (!data)
        n = 0;
    return TransformBlocks(data, key, n, RoundUpToBlock(n), false);
}

char* EncryptBlowfishBase64(const uint8_t* data, const uint8_t* key, uint32_t n) noexcept
{
    if (!data)
        n = 0;
    const size_t length = EncipheredLength(n);
    MallocPtr<uint8_t> enciphered(EncryptBlowfish(data, key, n));
    if (!enciphered)
        return nullptr;
    // 2 x L bytes always leave room for the 4 * ceil(L / 3) characters and a zero.
    char* text = AllocateZeroed<char>(2 * length);
    if (text)
        Base64Encode(enciphered.get(), length, text);
    return text;
}

uint8_t* DecryptBlowfishBase64(const char* text, const uint8_t* key, uint32_t n) noexcept
{
    if (!text)
        n = 0;
    // The decoded bytes are deciphered in whole blocks, so the buffer is rounded up to one: a text
    // whose length is not a multiple of eight never reads or writes past it.
    const size_t bufferLength = RoundUpToBlock(n);
    MallocPtr<uint8_t> decoded(AllocateZeroed(bufferLength));
    if (!decoded || !key)
        return nullptr;
    if (text)
        Base64DecodeLenient(text, n, decoded.get(), n);
    return TransformBlocks(decoded.get(), key, bufferLength, bufferLength, false);
}

char* EncryptBlowfishBase64(const uint8_t* data, uint32_t n, std::string_view passPhrase) noexcept
{
    MallocPtr<uint8_t> key = ExpandKey(passPhrase);
    return key ? EncryptBlowfishBase64(data, key.get(), n) : nullptr;
}

uint8_t* DecryptBlowfishBase64(const char* text, uint32_t n, std::string_view passPhrase) noexcept
{
    MallocPtr<uint8_t> key = ExpandKey(passPhrase);
    return key ? DecryptBlowfishBase64(text, key.get(), n) : nullptr;
}

uint8_t* Expand(const uint8_t* seed, uint32_t seedLength, uint32_t outLength) noexcept
{
    if (!seed)
        seedLength = 0;
    const size_t workLength = size_t(outLength) / 20 * 20 + 20;
    MallocPtr<uint8_t> work(AllocateZeroed(workLength));
    if (!work)
        return nullptr;
    Sha1Digest block = Sha1(seed, seedLength);
    std::memcpy(work.get(), block.data(), 20);
    // Each block hashes all earlier ones: one running hash keeps that linear in outLength.
    Sha1Stream earlier;
    for (size_t b = 1; 20 * b < outLength; ++b) {
        earlier.Update(work.get() + 20 * (b - 1), 20);
        block = earlier.Digest();
        std::memcpy(work.get() + 20 * b, block.data(), 20);
    }
    uint8_t* result = AllocateZeroed(outLength);
    if (result)
        std::memcpy(result, work.get(), outLength);
    return result;
}

uint8_t* Sha1Hash(const uint8_t* data, uint32_t n) noexcept
{
    return CopyDigest(Sha1(data, data ? n : 0));
}

uint8_t* Md5Hash(const uint8_t* data, uint32_t n) noexcept
{
    return CopyDigest(Md5(data, data ? n : 0));
}

}  // namespace cipher
