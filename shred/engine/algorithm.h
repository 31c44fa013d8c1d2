// Shred algorithms: the pass list of every algorithm number, the run objects that cross the
// libraries' export boundary (their records are byte-exact on i686) and the per-pass buffers.
#pragma once

#include "shred/engine/shred_types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace shred {

#if defined(_M_IX86) || defined(__i386__)
#pragma pack(push, 1)
#endif
// One pass of Volumewipe and Filewipe: 11 bytes on i686.
struct PassRecord
{
    std::uint8_t* pattern;  // patternLength bytes, allocated for random passes too
    std::int32_t patternLength;
    std::uint8_t random;  // 1: bytes from the random source
    std::uint8_t reserved[2];
};
// One pass of Snapwipe: 9 bytes on i686.
struct SnapPassRecord
{
    std::uint8_t* pattern;
    std::int32_t patternLength;
    std::uint8_t random;
};
#if defined(_M_IX86) || defined(__i386__)
#pragma pack(pop)
#endif

struct _OW_RUN
{
    PassRecord* passes;
    std::int32_t passCount;
    std::int32_t algorithmId;
};

struct SnapOwRun
{
    SnapPassRecord* passes;
    std::int32_t passCount;
};

#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(PassRecord) == 11 && offsetof(PassRecord, patternLength) == 4 &&
                  offsetof(PassRecord, random) == 8 && offsetof(PassRecord, reserved) == 9,
              "callers step through pass records with an 11-byte stride");
static_assert(sizeof(SnapPassRecord) == 9 && offsetof(SnapPassRecord, random) == 8,
              "Snapwipe's pass records are 9 bytes");
static_assert(sizeof(_OW_RUN) == 12 && offsetof(_OW_RUN, passCount) == 4 &&
                  offsetof(_OW_RUN, algorithmId) == 8,
              "_OW_RUN is passed to VNTShredFileEx by callers that build it themselves");
static_assert(sizeof(SnapOwRun) == 8 && offsetof(SnapOwRun, passCount) == 4,
              "Snapwipe's run has no algorithm id");
#endif

// The engine's own view of one pass: the value a test can read.
struct ShredPass
{
    std::vector<std::uint8_t> pattern;  // one repeat; zeros for a random pass
    bool random = false;

    bool operator==(const ShredPass&) const = default;
};
using PassList = std::vector<ShredPass>;

// Reads the byte of algorithm 99 ("ShredChar"); asked only when id 99 is built.
using ShredCharReader = std::function<std::uint8_t()>;

// The byte of the third pass of algorithm 101, which the pass table leaves open.
inline constexpr std::uint8_t kAlgorithm101FixedByte = 0x00;

// The pass list of an algorithm number, or nothing when the variant refuses the number.
std::optional<PassList> BuildPassList(int algorithmId, const ShredVariant& variant,
                                      const ShredCharReader& readShredChar);

// Run objects: the object, the record array and every pattern are separate heap blocks.
// MakeShredRun returns NULL when memory runs out.
template <typename Run>
Run* MakeShredRun(const PassList& passes, int algorithmId) noexcept;
template <typename Run>
void FreeShredRun(Run* run) noexcept;
// Reads a run that a caller may have built; nothing when a record cannot be overwritten with
// (no pattern for a fixed pass, a length outside 1..65536, a negative count).
template <typename Run>
std::optional<PassList> PassListFromRun(const Run* run);

// Volumewipe and Filewipe: builds the run, or NULL for a refused id (with the variant's print).
_OW_RUN* BuildShredAlgorithm(int algorithmId, const ShredVariant& variant,
                             const ShredCharReader& readShredChar);
void FreeShredAlgorithm(_OW_RUN* run) noexcept;

// Bytes written per call for a pattern length: 65536, or the largest multiple below it.
inline constexpr std::uint32_t kMaxChunk = 65536;
constexpr std::uint32_t ChunkSizeFor(std::uint32_t patternLength)
{
    return kMaxChunk % patternLength == 0 ? kMaxChunk : (kMaxChunk / patternLength) * patternLength;
}

}  // namespace shred
