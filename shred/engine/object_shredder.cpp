#include "shred/engine/object_shredder.h"

#include "shred/engine/crt_random.h"
#include "shred/engine/name_wiper.h"
#include "shred/engine/stream_list.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace shred {
namespace {

class TargetOverwriter
{
public:
    TargetOverwriter(const ShredWalk& walk, std::int64_t readCost)
        : m_walk(walk), m_system(walk.system), m_readCost(readCost)
    {}

    // Overwrites one stream with every pass; size receives its length.
    ShredResult Overwrite(const std::wstring& target, std::uint64_t& size)
    {
        size = 0;
        std::unique_ptr<IShredFile> file =
            m_system.Open(target, OpenOptions{true, m_walk.variant.opensNotContentIndexed});
        if (!file || !file->GetSize(size))
            return kShredNotFound;
        m_random.Seed(m_system.Seconds());
        m_random.Next();
        const auto passCount = static_cast<std::uint32_t>(m_walk.passes.size());
        for (std::uint32_t pass = 0; pass < passCount; ++pass) {
            if (!file->Seek(0))
                return kShredNotFound;
            FillBuffer(m_walk.passes[pass]);
            std::uint64_t written = 0;
            bool inFlight = false;  // the next chunk, already on its way to the file
            std::int64_t t0 = 0;
            while (written < size) {
                const auto length = static_cast<std::uint32_t>(
                    std::min<std::uint64_t>(m_buffer.size(), size - written));
                std::uint32_t done = 0;
                bool ok;
                if (inFlight) {
                    ok = file->FinishWrite(done);
                    inFlight = false;
                } else {
                    m_system.YieldTimeSlice();
                    t0 = m_system.Counter();
                    ok = file->Write(m_buffer.data(), length, done);
                }
                // A write that fails or falls short leaves the object in place: reporting it
                // shredded would delete data that was never overwritten.
                if (!ok || done != length)
                    return kShredNotFound;
                written += done;
                const std::int64_t chunkStart = t0;
                // Every chunk of a pass carries the same bytes, so the next one can go out while
                // this one is reported and the pause event waited for: a wait costs about as
                // much as a write on some systems. At most that one chunk follows a pause or an
                // abort.
                if (written < size) {
                    m_system.YieldTimeSlice();
                    t0 = m_system.Counter();
                    file->StartWrite(m_buffer.data(),
                                     static_cast<std::uint32_t>(
                                         std::min<std::uint64_t>(m_buffer.size(), size - written)));
                    inFlight = true;
                }
                if (m_walk.progress)
                    Report(pass, passCount, size, written, done, chunkStart);
                if (WaitAndCheckAbort()) {
                    if (inFlight)
                        file->FinishWrite(done);
                    file->Flush();
                    return kShredAborted;
                }
            }
        }
        return file->Flush() ? kShredDone : kShredNotFound;
    }

    // Waits while the caller has paused the engine; true when the caller asked to stop.
    bool WaitAndCheckAbort()
    {
        if (m_walk.pauseEvent && *m_walk.pauseEvent)
            m_system.WaitForRun(*m_walk.pauseEvent);
        return m_walk.abortFlag && *static_cast<const volatile char*>(m_walk.abortFlag) == 1;
    }

private:
    void FillBuffer(const ShredPass& pass)
    {
        const std::size_t patternLength = pass.pattern.size();
        m_buffer.resize(ChunkSizeFor(static_cast<std::uint32_t>(patternLength)));
        for (std::size_t i = 0; i < m_buffer.size(); ++i)
            m_buffer[i] = pass.random ? m_random.NextByte() : pass.pattern[i % patternLength];
    }

    void Report(std::uint32_t pass, std::uint32_t passCount, std::uint64_t size,
                std::uint64_t written, std::uint32_t lastWrite, std::int64_t t0)
    {
        std::uint64_t percent;
        if (size > 1024)
            percent = (pass * (size >> 10) + (written >> 10)) * 100 / (passCount * (size >> 10));
        else
            percent = (pass * size + written) * 100 / (passCount * size);
        if (m_walk.percent)
            *m_walk.percent = static_cast<int>(percent);
        const std::int64_t t1 = m_system.Counter();
        const std::int64_t frequency = m_system.CounterFrequency();
        const double micro =
            frequency > 0 ? static_cast<double>(t1 - t0 - m_readCost) * 1000000.0 / frequency : 0.0;
        const float megabytesPerSecond =
            micro > 0.0 ? static_cast<float>(lastWrite / (micro / 1000000.0) / 1048576.0) : 0.0f;
        m_walk.progress(m_walk.ctx, static_cast<int>(percent),
                        m_walk.fileIndex ? *m_walk.fileIndex : 0, m_walk.fileCount,
                        static_cast<int>(passCount), pass * size + written, m_walk.pauseEvent,
                        megabytesPerSecond, size);
    }

    const ShredWalk& m_walk;
    IShredSystem& m_system;
    std::int64_t m_readCost;
    CrtRandom m_random;
    std::vector<std::uint8_t> m_buffer;
};

std::int64_t MeasureCounterReadCost(IShredSystem& system)
{
    system.YieldTimeSlice();
    const std::int64_t first = system.Counter();
    return system.Counter() - first;
}

void PrintTiming(IShredSystem& system, std::int64_t start, std::int64_t readCost,
                 std::uint64_t size)
{
    const std::int64_t frequency = system.CounterFrequency();
    const double milliseconds =
        frequency > 0
            ? static_cast<double>(system.Counter() - start - readCost) * 1000.0 / frequency
            : 0.0;
    const double throughput =
        milliseconds > 0.0 ? static_cast<double>(size >> 20) / milliseconds * 1000.0 : 0.0;
    char line[96];
    std::snprintf(line, sizeof line, "%f;%f\n", milliseconds, throughput);
    system.Print(line);
}

ShredResult ShredObjectOrThrow(const std::wstring& path, const ShredWalk& walk)
{
    IShredSystem& system = walk.system;
    const std::int64_t readCost = MeasureCounterReadCost(system);
    TargetOverwriter overwriter(walk, readCost);
    if (overwriter.WaitAndCheckAbort())
        return kShredAborted;
    system.YieldTimeSlice();
    const std::int64_t start = system.Counter();
    system.SetNormalAttributes(path);

    const ObjectFacts facts = system.Facts(path);
    std::uint64_t mainSize = 0;
    // A link is removed as a name only: overwriting it would overwrite whatever it points to.
    if (!facts.isFolder && !facts.isLink) {
        std::vector<std::wstring> streams;
        if (walk.variant.shredsNamedStreams)
            streams = ListAlternateStreams(system, path);
        for (std::size_t i = 0; i <= streams.size(); ++i) {
            if (i > 0)
                system.RemoveFile(path + streams[i - 1]);
            const bool isMain = i == streams.size();
            std::uint64_t size = 0;
            const ShredResult result =
                overwriter.Overwrite(isMain ? path : path + streams[i], size);
            if (result != kShredDone)
                return result;
            if (isMain)
                mainSize = size;
        }
    }
    if (walk.variant.printsTiming)
        PrintTiming(system, start, readCost, mainSize);
    if (walk.keepFile)
        return kShredDone;
    return WipeNameAndRemove(system, path);
}

}  // namespace

ShredResult ShredObject(const std::wstring& path, const ShredWalk& walk)
{
    try {
        return ShredObjectOrThrow(path, walk);
    } catch (const std::bad_alloc&) {
        return kShredNotFound;
    }
}

}  // namespace shred
