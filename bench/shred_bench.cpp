// Throughput of one engine pass through Filewipe's export against a plain 64 KiB write loop over
// the same file, and against the same loop waiting once per chunk on a signalled event as the
// engine waits on its pause event, in the same run. Usage: shred_bench [MiB] (default 256).
#include "core/unique_handle.h"
#include "shred/engine/shred_types.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using ShredFileFn = int(__stdcall*)(const wchar_t*, int, void*, void**, char*,
                                    shred::ShredProgressCallback, shred::ShredFileDoneCallback,
                                    int);

void __stdcall CountChunks(void* ctx, int, int, int, int, std::uint64_t, void**, float,
                           std::uint64_t)
{
    ++*static_cast<long long*>(ctx);
}

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end, LARGE_INTEGER frequency)
{
    return static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The baseline: the same open flags as the engine's overwrite, 64 KiB per write, one flush;
// with `pause`, one wait on it per chunk.
bool PlainWrite(const std::wstring& path, std::uint64_t size, DWORD disposition,
                HANDLE pause = nullptr)
{
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                        FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    std::vector<std::uint8_t> buffer(65536, 0);
    for (std::uint64_t written = 0; written < size;) {
        DWORD count = 0;
        const auto chunk =
            static_cast<DWORD>(std::min<std::uint64_t>(buffer.size(), size - written));
        if (!::WriteFile(file.Get(), buffer.data(), chunk, &count, nullptr) || count != chunk)
            return false;
        written += count;
        if (pause)
            ::WaitForSingleObject(pause, INFINITE);
    }
    return ::FlushFileBuffers(file.Get()) != FALSE;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::uint64_t mebibytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 256;
    const std::uint64_t size = mebibytes << 20;
    core::UniqueModule filewipe(::LoadLibraryW(L"Filewipe.dll"));
    const auto shredFile =
        filewipe ? reinterpret_cast<ShredFileFn>(::GetProcAddress(filewipe.Get(), "VNTShredFile"))
                 : nullptr;
    if (!shredFile) {
        std::fprintf(stderr, "cannot bind VNTShredFile in Filewipe.dll\n");
        return 1;
    }
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"shred-bench.bin";
    ::DeleteFileW(path.c_str());

    LARGE_INTEGER frequency{};
    LARGE_INTEGER t0{};
    LARGE_INTEGER t1{};
    LARGE_INTEGER t2{};
    LARGE_INTEGER t3{};
    ::QueryPerformanceFrequency(&frequency);
    core::UniqueKernelHandle pause(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    // Both overwrite the same existing file in place; making it is not timed.
    const bool made = PlainWrite(path, size, CREATE_ALWAYS);
    ::QueryPerformanceCounter(&t0);
    const bool plainOk = made && PlainWrite(path, size, OPEN_EXISTING);
    ::QueryPerformanceCounter(&t1);
    long long chunks = 0;
    const int result =
        shredFile(path.c_str(), 0, &chunks, nullptr, nullptr, CountChunks, nullptr, 1);
    ::QueryPerformanceCounter(&t2);
    const bool waitingOk = PlainWrite(path, size, OPEN_EXISTING, pause.Get());
    ::QueryPerformanceCounter(&t3);
    ::DeleteFileW(path.c_str());
    if (!plainOk || !waitingOk || result != -100) {
        std::fprintf(stderr, "benchmark failed: plain %d, engine %d\n", plainOk ? 1 : 0, result);
        return 1;
    }
    const double plain = static_cast<double>(mebibytes) / Seconds(t0, t1, frequency);
    const double engine = static_cast<double>(mebibytes) / Seconds(t1, t2, frequency);
    const double waiting = static_cast<double>(mebibytes) / Seconds(t2, t3, frequency);
    std::printf("size %llu MiB, %lld progress calls\n", static_cast<unsigned long long>(mebibytes),
                chunks);
    std::printf("plain 64 KiB loop:             %.1f MiB/s\n"
                "plain loop, one wait a chunk:  %.1f MiB/s\n"
                "engine one pass:               %.1f MiB/s\n"
                "ratio engine/plain:            %.2f\n"
                "ratio engine/waiting loop:     %.2f (goal at least 0.95)\n",
                plain, waiting, engine, engine / plain, engine / waiting);
    return 0;
}
