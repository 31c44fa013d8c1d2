// What the setup program does with each message Windows Installer sends its external handler:
// which messages become message boxes, the progress position and total kept from progress
// records, and the action text shown with them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace setup::sysconfig::installer {

// The message kind sits in the top byte of the message type (the INSTALLMESSAGE values).
enum class MessageKind : std::uint32_t
{
    FatalExit = 0,
    Error = 1,
    Warning = 2,
    User = 3,
    Info = 4,
    FilesInUse = 5,
    ResolveSource = 6,
    OutOfDiskSpace = 7,
    ActionStart = 8,
    ActionData = 9,
    Progress = 10,
    CommonData = 11,
    Initialize = 12,
    Terminate = 13,
    ShowDialog = 14,
};

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr std::uint32_t kIconError = 0x10;
inline constexpr std::uint32_t kIconQuestion = 0x20;
inline constexpr std::uint32_t kIconWarning = 0x30;

// Up to four fields "n: value" of a progress record; absent fields are 0.
std::array<std::int64_t, 4> ParseProgressFields(std::string_view text);

// Kept between runs until the next reset record.
struct ProgressState
{
    std::string actionText;
    std::int64_t position = 0;
    std::int64_t total = 0;
    std::int64_t min = 0;
    std::int32_t step = 0;
    std::int32_t direction = 0;  // 1 forward, -1 backward, 0 before the first reset
};

void ApplyProgressRecord(ProgressState& state, std::string_view record);

// Shows the message boxes of the handler; the Win32 one calls MessageBoxA, or MessageBoxExA with
// language 0 when languageNeutral is set.
class IInstallerPrompt
{
public:
    virtual ~IInstallerPrompt() = default;
    virtual int ShowMessage(std::uintptr_t owner, const std::string& text,
                            const std::string& caption, std::uint32_t flags,
                            bool languageNeutral) = 0;
};

struct MessageTitles
{
    std::string fatal = "Fatal Error";
    std::string error = "Error";
    std::string warning = "Warning";
    std::string outOfDiskSpace = "Out of Disk Space";
};

// What the handler reads of the running install, and the last fatal or error text it keeps.
struct HandlerSession
{
    bool silent = false;
    std::string caption;
    std::uintptr_t owner = 0;
    MessageTitles titles;
    IInstallerPrompt* prompt = nullptr;
    std::string lastMessageText;
};

// Publishes text and numbers for the progress page; false once the user asked to cancel.
using ProgressCallback = std::function<bool(const std::string& text, std::int64_t position,
                                            std::int64_t total, std::int64_t min)>;

// One message: its own answer, or IDCANCEL when the callback reports a cancel.
int HandleInstallerMessage(ProgressState& state, HandlerSession& session, ProgressCallback callback,
                           std::uint32_t messageType, std::string_view message);

}  // namespace setup::sysconfig::installer
