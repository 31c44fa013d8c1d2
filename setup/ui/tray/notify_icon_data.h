// The record a notification-area icon hands the shell with every call, kept portable: the texts
// are cut to what the shell's fixed fields hold, and the record's size follows the bitness.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace setup::ui::tray {

// Shell_NotifyIcon messages and record flags.
enum NotifyMessage : std::uint32_t
{
    nimAdd = 0,
    nimModify = 1,
    nimDelete = 2,
};
constexpr std::uint32_t kNifMessage = 0x1;
constexpr std::uint32_t kNifIcon = 0x2;
constexpr std::uint32_t kNifTip = 0x4;
constexpr std::uint32_t kNifInfo = 0x10;

// Balloon icons in the record.
constexpr std::uint32_t kNiifNone = 0;
constexpr std::uint32_t kNiifInfo = 1;
constexpr std::uint32_t kNiifWarning = 2;
constexpr std::uint32_t kNiifError = 3;

// What the shell sends to the icon's window through the callback message.
constexpr std::uint32_t kNinBalloonShow = 1026;
constexpr std::uint32_t kNinBalloonHide = 1027;
constexpr std::uint32_t kNinBalloonTimeout = 1028;
constexpr std::uint32_t kNinBalloonUserClick = 1029;

// The fixed text fields, terminator included.
constexpr std::size_t kTipChars = 128;
constexpr std::size_t kInfoChars = 256;
constexpr std::size_t kInfoTitleChars = 64;

struct NotifyIconData
{
    std::uintptr_t window = 0;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    std::uintptr_t icon = 0;
    std::string tip;
    std::string info;
    std::uint32_t timeout = 0;
    std::string infoTitle;
    std::uint32_t infoFlags = 0;

    void SetTip(std::string_view text);
    void SetInfo(std::string_view text);
    void SetInfoTitle(std::string_view text);
};

// At most `fieldChars` - 1 characters: what a fixed field with its terminator holds.
std::string CutToField(std::string_view text, std::size_t fieldChars);

// The size of the ANSI record with the balloon fields and without the later ones: 488 bytes
// with 4-byte window and icon handles, 504 with 8-byte ones (alignment adds two gaps).
std::uint32_t NotifyIconDataSize(std::size_t pointerBytes);

}  // namespace setup::ui::tray
