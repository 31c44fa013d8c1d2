// The Win32 side of the free-space wiper: the drive's free space and geometry, the working folder
// and the filler files.
#pragma once

#include "shred/wipers/free_space_wiper.h"

namespace shred::wipers {

class Win32FreeSpaceSystem : public IFreeSpaceSystem
{
public:
    void WaitForRun(void** pauseEvent) override;
    void DeleteTree(const std::wstring& folder) override;
    bool CreateFolder(const std::wstring& folder) override;
    std::uint32_t LastError() override;
    std::uint32_t DriveType(const std::wstring& root) override;
    bool FreeSpace(const std::wstring& folder, std::uint64_t& freeBytes,
                   std::uint64_t& totalBytes) override;
    bool Geometry(const std::wstring& root, ClusterGeometry& geometry) override;
    bool Exists(const std::wstring& path) override;
    FillerResult CreateFiller(const std::wstring& path, std::uint64_t size,
                              FillerWrite mode) override;
    bool RemoveFile(const std::wstring& path) override;
    void Print(std::string_view text) override;
};

}  // namespace shred::wipers
