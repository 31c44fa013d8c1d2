// The records the shred engine leaves in the Application event log and the names that locate its
// setting and its event source.
#pragma once

#include <cstdint>
#include <string>

namespace shred {

inline constexpr wchar_t kShredEventSource[] = L"Shredding Application";
inline constexpr wchar_t kEventLogSettingsKey[] = L"Software\\Vontar Security\\Shredding\\Settings";
inline constexpr wchar_t kEventLogSettingValue[] = L"EventLog";
inline constexpr wchar_t kEventSourceKeyPrefix[] =
    L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

// "EventLog": which records the engine writes.
enum class ShredEventLogMode : std::uint32_t
{
    Off = 0,
    PerCall = 1,
    PerObject = 2
};

inline constexpr std::uint16_t kEventTypeInformation = 4;
inline constexpr std::uint16_t kEventTypeWarning = 2;
inline constexpr std::uint32_t kEventShredded = 3;
inline constexpr std::uint32_t kEventShredFailed = 4;
inline constexpr std::uint16_t kShredStatusCategory = 1;

struct ShredEventRecord
{
    std::uint16_t type = 0;
    std::uint16_t category = 0;
    std::uint32_t eventId = 0;
    std::wstring path;
    std::wstring algorithm;  // decimal
    std::wstring result;     // decimal

    bool operator==(const ShredEventRecord&) const = default;
};

ShredEventRecord MakeShredEventRecord(const std::wstring& path, int algorithmId, int result);

// The setting and the records as the walk sees them; failures never reach the walk.
class IShredEventLog
{
public:
    virtual ~IShredEventLog() = default;
    virtual std::uint32_t ReadEventLogSetting() const = 0;
    virtual void RegisterShredEventSource() const = 0;
    virtual void ReportShredEvent(const std::wstring& path, int algorithmId, int result) const = 0;
};

}  // namespace shred
