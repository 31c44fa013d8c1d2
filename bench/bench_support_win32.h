// What the benchmarks under Wine share: a clock in seconds and the folder of the running program.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace bench {

inline double Now()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// With its trailing backslash.
inline std::string BinDir()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().string() + "\\";
}

}  // namespace bench
