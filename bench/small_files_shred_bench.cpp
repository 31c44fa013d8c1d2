// Many small files: one pass through Filewipe's VNTShredFile per file against a plain loop that
// opens, overwrites, flushes, renames and deletes each file once, in the same run. Prints each
// round's ratio (plain time / engine time) and their minimum, median and maximum.
// Usage: small_files_shred_bench [files] [KiB] [rounds] (default 2000, 4, 5).
#include "core/unique_handle.h"
#include "shred/engine/shred_types.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "bench/bench_support_win32.h"

namespace {

using bench::Now;

using ShredFileFn = int(__stdcall*)(const wchar_t*, int, void*, void**, char*,
                                    shred::ShredProgressCallback, shred::ShredFileDoneCallback,
                                    int);

bool WriteWhole(HANDLE file, const std::vector<std::uint8_t>& bytes)
{
    DWORD count = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
           count == bytes.size();
}

bool MakeFiles(const std::vector<std::wstring>& paths, const std::vector<std::uint8_t>& bytes)
{
    for (const std::wstring& path : paths) {
        core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !WriteWhole(file.Get(), bytes))
            return false;
    }
    return true;
}

// What shredding a small file needs at the least, with the engine's open flags.
bool PlainShred(const std::wstring& path, const std::vector<std::uint8_t>& zeros)
{
    {
        core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING,
                                            FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
        if (!file || !WriteWhole(file.Get(), zeros) || !::FlushFileBuffers(file.Get()))
            return false;
    }
    const std::wstring renamed = path + L".0";
    return ::MoveFileW(path.c_str(), renamed.c_str()) && ::DeleteFileW(renamed.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int kibibytes = argc > 2 ? std::atoi(argv[2]) : 4;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
    core::UniqueModule filewipe(::LoadLibraryW(L"Filewipe.dll"));
    const auto shredFile =
        filewipe ? reinterpret_cast<ShredFileFn>(::GetProcAddress(filewipe.Get(), "VNTShredFile"))
                 : nullptr;
    if (!shredFile || count <= 0 || kibibytes <= 0 || rounds <= 0) {
        std::fprintf(stderr, "usage: small_files_shred_bench [files] [KiB] [rounds]; needs "
                             "Filewipe.dll\n");
        return 1;
    }
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"small-shred-bench-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back(folder + L"\\f" + std::to_wstring(i) + L".dat");
    const std::vector<std::uint8_t> content(static_cast<std::size_t>(kibibytes) * 1024, 0x5A);
    const std::vector<std::uint8_t> zeros(content.size(), 0);

    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        if (!MakeFiles(paths, content))
            return std::fprintf(stderr, "cannot make the files\n"), 1;
        const double t0 = Now();
        for (const std::wstring& path : paths)
            if (!PlainShred(path, zeros))
                return std::fprintf(stderr, "plain loop failed\n"), 1;
        const double t1 = Now();
        if (!MakeFiles(paths, content))
            return std::fprintf(stderr, "cannot make the files\n"), 1;
        const double t2 = Now();
        for (const std::wstring& path : paths) {
            const int result = shredFile(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr,
                                         nullptr, 0);
            if (result != -100)
                return std::fprintf(stderr, "engine returned %d\n", result), 1;
        }
        const double t3 = Now();
        const double plain = t1 - t0;
        const double engine = t3 - t2;
        ratios.push_back(plain / engine);
        std::printf("round %d: plain %.2f ms/file, engine %.2f ms/file, ratio %.2f\n", round + 1,
                    plain * 1000 / count, engine * 1000 / count, plain / engine);
    }
    ::RemoveDirectoryW(folder.c_str());
    std::sort(ratios.begin(), ratios.end());
    std::printf("%d files of %d KiB, ratio engine/plain (goal at least 0.8): min %.2f, median "
                "%.2f, max %.2f\n",
                count, kibibytes, ratios.front(), ratios[ratios.size() / 2], ratios.back());
    return 0;
}
