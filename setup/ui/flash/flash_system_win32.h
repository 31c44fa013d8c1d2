// The Flash frame's Windows side: the system folder's players and their versions, the
// self-registration of the setup's copy, and the player control hosted in an ActiveX host window
// of atl.dll inside the frame's window.
#pragma once

#include "setup/ui/flash/flash_frame.h"

namespace setup::ui {

// The Flash player's class (the "ShockwaveFlash.ShockwaveFlash" control).
inline constexpr const char* kFlashPlayerClassId = "{D27CDB6E-AE6D-11CF-96B8-444553540000}";

class Win32FlashSystem final : public IFlashSystem
{
public:
    Win32FlashSystem();
    ~Win32FlashSystem() override;
    Win32FlashSystem(const Win32FlashSystem&) = delete;
    Win32FlashSystem& operator=(const Win32FlashSystem&) = delete;

    std::string SystemFolder() override;
    std::vector<std::string> FindFilesBelow(const std::string& folder,
                                            const std::string& pattern) override;
    std::optional<std::uint64_t> FileVersion(const std::string& path) override;
    bool CopyOver(const std::string& from, const std::string& to) override;
    bool RegisterServer(const std::string& path) override;
    std::vector<std::uint8_t> ReadFileStart(const std::string& path, std::size_t count) override;
    PlayerCreation CreatePlayer(TFlashFrame& frame) override;

private:
    bool m_oleJoined = false;
};

}  // namespace setup::ui
