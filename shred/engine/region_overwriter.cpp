#include "shred/engine/region_overwriter.h"

#include "shred/engine/crt_random.h"

#include <algorithm>
#include <new>
#include <vector>

namespace shred {

std::uint64_t ClipRegion(std::uint64_t offset, std::uint64_t length, std::uint64_t size)
{
    return offset >= size ? 0 : std::min(length, size - offset);
}

ShredResult OverwriteRegion(IShredFile* file, const PassList& passes, std::uint64_t offset,
                            std::uint64_t requested, std::uint32_t seedSeconds)
{
    if (!file)
        return kRegionBadHandle;
    std::uint64_t size = 0;
    if (!file->GetSize(size))
        return kRegionSeekFailed;
    const std::uint64_t length = ClipRegion(offset, requested, size);
    CrtRandom random;
    random.Seed(seedSeconds);
    random.Next();
    try {
        std::vector<std::uint8_t> buffer;
        for (const ShredPass& pass : passes) {
            if (!file->Seek(offset))
                return kRegionSeekFailed;
            const std::size_t patternLength = pass.pattern.size();
            buffer.resize(ChunkSizeFor(static_cast<std::uint32_t>(patternLength)));
            for (std::size_t i = 0; i < buffer.size(); ++i)
                buffer[i] = pass.random ? random.NextByte() : pass.pattern[i % patternLength];
            for (std::uint64_t written = 0; written < length;) {
                const auto chunk = static_cast<std::uint32_t>(
                    std::min<std::uint64_t>(buffer.size(), length - written));
                std::uint32_t done = 0;
                if (!file->Write(buffer.data(), chunk, done) || done != chunk)
                    return kRegionWriteFailed;
                written += done;
            }
        }
    } catch (const std::bad_alloc&) {
        return kRegionWriteFailed;
    }
    // Bytes that never reached the disk are not overwritten; with nothing written there is
    // nothing to lose (and a read-only handle cannot be flushed).
    if (!file->Flush() && length != 0)
        return kRegionWriteFailed;
    return kShredDone;
}

}  // namespace shred
