// Extraction through the archive library against a program that only creates and writes the
// same files, each timed in this process. Prints the seconds a command took.
// Usage: archive_extract_bench extract <archive.7z> <target folder>
//        archive_extract_bench create <listing> <target folder>
// A listing has one line per file: its size in bytes, a blank and its path below the target.
#include "core/unique_handle.h"
#include "setup/media/archive_library.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>
#include "bench/bench_support_win32.h"

namespace {

using bench::Now;

int Extract(const std::string& archive, const std::string& target)
{
    core::UniqueModule library(::LoadLibraryA("qbr.lib"));
    const auto extract = library ? reinterpret_cast<decltype(&ExtractArchive)>(
                                       ::GetProcAddress(library.Get(), "ExtractArchive"))
                                 : nullptr;
    if (!extract)
        return std::fprintf(stderr, "cannot bind ExtractArchive in qbr.lib\n"), 1;
    const double t0 = Now();
    const int ok = extract(archive.c_str(), 0, target.c_str(), nullptr,
                           setup::media::kArchiveModeFullPaths, nullptr, nullptr, nullptr, nullptr,
                           nullptr);
    const double t1 = Now();
    if (!ok)
        return std::fprintf(stderr, "extraction failed\n"), 1;
    std::printf("%.3f\n", t1 - t0);
    return 0;
}

// What extraction needs at the least: each folder made once, each file created, written,
// timestamped and closed.
int Create(const std::string& listing, const std::string& target)
{
    std::ifstream lines(listing);
    std::vector<std::pair<std::size_t, std::string>> files;
    std::size_t size = 0;
    std::string path;
    while (lines >> size && std::getline(lines >> std::ws, path))
        files.emplace_back(size, path);
    std::vector<char> bytes(1 << 20, 'x');
    const FILETIME time{0x12345678, 0x01D00000};
    const double t0 = Now();
    ::CreateDirectoryA(target.c_str(), nullptr);
    std::string lastFolder;
    for (const auto& [length, relative] : files) {
        const std::string full = target + "\\" + relative;
        const std::string folder = full.substr(0, full.rfind('\\'));
        if (folder != lastFolder) {
            ::CreateDirectoryA(folder.c_str(), nullptr);
            lastFolder = folder;
        }
        core::UniqueFile file(::CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || (length > 0 && !::WriteFile(file.Get(), bytes.data(),
                                                  static_cast<DWORD>(length), &written, nullptr)))
            return std::fprintf(stderr, "cannot write %s\n", full.c_str()), 1;
        ::SetFileTime(file.Get(), nullptr, nullptr, &time);
    }
    const double t1 = Now();
    std::printf("%.3f\n", t1 - t0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "extract")
        return Extract(argv[2], argv[3]);
    if (argc == 4 && std::string(argv[1]) == "create")
        return Create(argv[2], argv[3]);
    std::fprintf(stderr, "usage: archive_extract_bench extract|create <archive|listing> <folder>\n");
    return 2;
}
