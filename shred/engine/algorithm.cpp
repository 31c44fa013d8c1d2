#include "shred/engine/algorithm.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>
#include <type_traits>

namespace shred {
namespace {

ShredPass Fixed(std::initializer_list<std::uint8_t> bytes)
{
    return ShredPass{std::vector<std::uint8_t>(bytes), false};
}

ShredPass Random(std::size_t patternLength = 1)
{
    return ShredPass{std::vector<std::uint8_t>(patternLength, 0), true};
}

ShredPass Triple(std::uint8_t a, std::uint8_t b, std::uint8_t c)
{
    return Fixed({a, b, c});
}

PassList Gutmann()
{
    PassList passes;
    for (int i = 0; i < 4; ++i)
        passes.push_back(Random(3));
    passes.push_back(Triple(0x55, 0x55, 0x55));
    passes.push_back(Triple(0xAA, 0xAA, 0xAA));
    passes.push_back(Triple(0x92, 0x49, 0x24));
    passes.push_back(Triple(0x49, 0x24, 0x92));
    passes.push_back(Triple(0x24, 0x92, 0x49));
    for (int value = 0x00; value <= 0xFF; value += 0x11) {
        const auto byte = static_cast<std::uint8_t>(value);
        passes.push_back(Triple(byte, byte, byte));
    }
    passes.push_back(Triple(0x92, 0x49, 0x24));
    passes.push_back(Triple(0x49, 0x24, 0x92));
    passes.push_back(Triple(0x24, 0x92, 0x49));
    passes.push_back(Triple(0x6D, 0xB6, 0xDB));
    passes.push_back(Triple(0xB6, 0xDB, 0x6D));
    passes.push_back(Triple(0xDB, 0x6D, 0xB6));
    for (int i = 0; i < 4; ++i)
        passes.push_back(Random(3));
    return passes;
}

template <typename Record>
void FreeRecords(Record* records, std::int32_t count) noexcept
{
    if (!records)
        return;
    for (std::int32_t i = 0; i < count; ++i)
        std::free(records[i].pattern);
    std::free(records);
}

}  // namespace

std::optional<PassList> BuildPassList(int algorithmId, const ShredVariant& variant,
                                      const ShredCharReader& readShredChar)
{
    const ShredPass r = Random();
    switch (algorithmId) {
        case 0:
            return PassList{Fixed({0x00})};
        case 1:
            return PassList{Fixed({0xAA}), Fixed({0x55}), r};
        case 2:
            return Gutmann();
        case 3:
            return PassList{Fixed({0x55}), Fixed({0xAA}), r};
        case 4:
            return PassList{Fixed({0xFF}), Fixed({0x00}), r, r, r, r, r};
        case 5:
            return PassList{Fixed({0xFF, 0xFF, 0xFF, 0xFF}), Fixed({0xFF, 0xFF, 0xFF, 0xE4}),
                            Random(4)};
        case 6:
            return PassList{Fixed({0x35}), Fixed({0xCA}), Fixed({0x97}), r};
        case 7:
            return PassList{Fixed({0x00}), Fixed({0xFF}), Fixed({0x00}), Fixed({0x61})};
        case 8:
            return PassList{r, Fixed({0xAA}), Fixed({0x55})};
        case 9:
            return PassList{Fixed({0x00}),
                            Fixed({0xFF}),
                            Fixed({0x00}),
                            Fixed({0xFF}),
                            Fixed({0x00}),
                            Fixed({0xFF}),
                            r};
        case 10:
            return PassList{Fixed({0x00}), Fixed({0x01}), r};
        case 11:
            return PassList{r, r, Fixed({0x00})};
        case 12:
            return PassList{Fixed({0x55}), Fixed({0xAA}), r, r, Fixed({0x55}), Fixed({0xAA}), r};
        case 99:
            return PassList{Fixed({readShredChar ? readShredChar() : std::uint8_t{0}})};
        default:
            break;
    }
    if (!variant.allowsExtendedAlgorithms)
        return std::nullopt;
    switch (algorithmId) {
        case 100:
            return PassList{Fixed({0xFF}), Fixed({0xAA}), Fixed({0x55}), r};
        case 101:
            return PassList{Fixed({0xFF}), r, Fixed({kAlgorithm101FixedByte}), Fixed({0xFF}), r, r};
        case 102:
            return PassList{Fixed({0xFF}), Fixed({0x00}), Fixed({0x00})};
        case 103:
            return PassList{r, Fixed({0xFF}), Fixed({0x00})};
        default:
            return std::nullopt;
    }
}

template <typename Run>
Run* MakeShredRun(const PassList& passes, int algorithmId) noexcept
{
    using Record = std::remove_pointer_t<decltype(Run::passes)>;
    auto* run = static_cast<Run*>(std::calloc(1, sizeof(Run)));
    if (!run)
        return nullptr;
    if constexpr (requires { run->algorithmId; })
        run->algorithmId = algorithmId;
    const auto count = static_cast<std::int32_t>(passes.size());
    run->passes =
        static_cast<Record*>(std::calloc(passes.empty() ? 1 : passes.size(), sizeof(Record)));
    if (!run->passes) {
        std::free(run);
        return nullptr;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        const ShredPass& pass = passes[static_cast<std::size_t>(i)];
        Record& record = run->passes[i];
        record.pattern = static_cast<std::uint8_t*>(std::malloc(pass.pattern.size()));
        if (!record.pattern) {
            FreeRecords(run->passes, i);
            std::free(run);
            return nullptr;
        }
        std::memcpy(record.pattern, pass.pattern.data(), pass.pattern.size());
        record.patternLength = static_cast<std::int32_t>(pass.pattern.size());
        record.random = pass.random ? 1 : 0;
    }
    run->passCount = count;
    return run;
}

template <typename Run>
void FreeShredRun(Run* run) noexcept
{
    if (!run)
        return;
    FreeRecords(run->passes, run->passCount);
    std::free(run);
}

template <typename Run>
std::optional<PassList> PassListFromRun(const Run* run)
{
    if (!run || run->passCount < 0 || (run->passCount > 0 && !run->passes))
        return std::nullopt;
    PassList passes;
    passes.reserve(static_cast<std::size_t>(run->passCount));
    for (std::int32_t i = 0; i < run->passCount; ++i) {
        const auto& record = run->passes[i];
        if (record.patternLength < 1 || record.patternLength > static_cast<std::int32_t>(kMaxChunk))
            return std::nullopt;
        ShredPass pass;
        pass.random = record.random != 0;
        if (pass.random)
            pass.pattern.assign(static_cast<std::size_t>(record.patternLength), 0);
        else if (!record.pattern)
            return std::nullopt;
        else
            pass.pattern.assign(record.pattern, record.pattern + record.patternLength);
        passes.push_back(std::move(pass));
    }
    return passes;
}

template _OW_RUN* MakeShredRun<_OW_RUN>(const PassList&, int) noexcept;
template SnapOwRun* MakeShredRun<SnapOwRun>(const PassList&, int) noexcept;
template void FreeShredRun<_OW_RUN>(_OW_RUN*) noexcept;
template void FreeShredRun<SnapOwRun>(SnapOwRun*) noexcept;
template std::optional<PassList> PassListFromRun<_OW_RUN>(const _OW_RUN*);
template std::optional<PassList> PassListFromRun<SnapOwRun>(const SnapOwRun*);

_OW_RUN* BuildShredAlgorithm(int algorithmId, const ShredVariant& variant,
                             const ShredCharReader& readShredChar)
{
    std::optional<PassList> passes;
    try {
        passes = BuildPassList(algorithmId, variant, readShredChar);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!passes) {
        if (variant.printsAlgorithmRefusal) {
            std::printf("Could not retrieve algorithm %d\n", algorithmId);
            std::fflush(stdout);
        }
        return nullptr;
    }
    return MakeShredRun<_OW_RUN>(*passes, algorithmId);
}

void FreeShredAlgorithm(_OW_RUN* run) noexcept
{
    FreeShredRun(run);
}

}  // namespace shred
