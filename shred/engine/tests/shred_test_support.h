// What the object tests share: pass lists, the bytes each pass leaves, and a progress callback
// that reads a target back at the end of every pass.
#pragma once

#include "shred/engine/algorithm.h"
#include "shred/engine/crt_random.h"
#include "shred/engine/tests/shred_backing.h"

#include <string>
#include <vector>

namespace shred::testing {

inline constexpr std::uint8_t kShredCharForTests = 0x77;

inline PassList Passes(int algorithmId)
{
    return *BuildPassList(algorithmId, kVolumewipe, [] { return kShredCharForTests; });
}

// Content that no pass writes by chance over a whole chunk.
inline std::vector<std::uint8_t> Original(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 251 + 1);
    return bytes;
}

// The chunk buffer of every pass of one target: the random source is seeded with the clock's
// seconds and one value discarded, then every random pass draws one byte per buffer position.
inline std::vector<std::vector<std::uint8_t>> PassBuffers(const PassList& passes,
                                                          std::uint32_t seconds)
{
    CrtRandom random;
    random.Seed(seconds);
    random.Next();
    std::vector<std::vector<std::uint8_t>> buffers;
    for (const ShredPass& pass : passes) {
        std::vector<std::uint8_t> buffer(
            ChunkSizeFor(static_cast<std::uint32_t>(pass.pattern.size())));
        for (std::size_t i = 0; i < buffer.size(); ++i)
            buffer[i] = pass.random ? random.NextByte() : pass.pattern[i % pass.pattern.size()];
        buffers.push_back(std::move(buffer));
    }
    return buffers;
}

inline std::vector<std::uint8_t> Expand(const std::vector<std::uint8_t>& buffer, std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = buffer[i % buffer.size()];
    return bytes;
}

// True when text has the shape: '?' stands for any lower-case letter, every other character for
// itself.
inline bool HasShape(const std::wstring& text, const std::wstring& shape)
{
    if (text.size() != shape.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool letter = text[i] >= L'a' && text[i] <= L'z';
        if (shape[i] == L'?' ? !letter : text[i] != shape[i])
            return false;
    }
    return true;
}

struct ReadBack
{
    struct Target
    {
        std::wstring path;
        std::uint64_t size;
    };

    ShredBacking* backing = nullptr;
    std::size_t passCount = 0;
    std::vector<std::vector<std::uint8_t>> buffers;
    std::vector<Target> targets;  // in the order the engine overwrites them
    std::size_t target = 0;
    int calls = 0;
    int checkedPasses = 0;
    int lastPercent = -1;
    std::vector<std::string> failures;
};

void SHRED_CALLBACK ReadBackEveryPass(void* ctx, int percent, int fileIndex, int fileCount,
                                      int passCount, std::uint64_t bytesDone, void** pauseEvent,
                                      float megabytesPerSecond, std::uint64_t fileSize);

}  // namespace shred::testing
