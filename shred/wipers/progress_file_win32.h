// The Win32 side of the wipers' progress reporting: memory probing of the progress argument, the
// progress file, "ClientInput.dat" and the clock.
#pragma once

#include "shred/wipers/progress_file.h"

namespace shred::wipers {

class Win32ProgressSystem : public IProgressSystem
{
public:
    ProgressArgument Probe(const void* argument) override;
    bool FileExists(const std::wstring& path) override;
    std::unique_ptr<IProgressFile> OpenProgressFile(const std::wstring& path) override;
    std::optional<std::wstring> ReadClientInput() override;
    std::int64_t NowSeconds() override;
};

IProgressSystem& DefaultProgressSystem() noexcept;

}  // namespace shred::wipers
