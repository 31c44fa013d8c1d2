// The engine's machine-wide settings and its event log: "ShredChar", "EventLog", the registration
// of the event source and the records, written through the system table's event sink.
#pragma once

#include "shred/engine/algorithm.h"
#include "shred/engine/shred_system.h"
#include "shred/engine/shred_types.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace shred {

// Where the settings and the event source live; tests point this at a scratch key.
struct ShredRegistry
{
    HKEY root = HKEY_LOCAL_MACHINE;
    std::wstring prefix;  // put before every key path; empty for the machine's own keys
};

// The byte of algorithm 99; 0 when the value is missing, unreadable or longer than 20 bytes.
std::uint8_t ReadShredChar(const ShredVariant& variant, const ShredRegistry& registry = {});

// Volumewipe's and Filewipe's factory with "ShredChar" read from the machine's settings.
_OW_RUN* BuildShredAlgorithm(int algorithmId, const ShredVariant& variant);

class ShredEventLog : public IShredEventLog
{
public:
    ShredEventLog(IShredSystem& system, const ShredVariant& variant, ShredRegistry registry = {});

    // The "EventLog" mode; 0 when the key or a 4-byte value cannot be read, or for a variant
    // without an event log.
    std::uint32_t ReadEventLogSetting() const override;
    // (Re)writes the source key of "Shredding Application"; failures are ignored.
    void RegisterShredEventSource() const override;
    void ReportShredEvent(const std::wstring& path, int algorithmId, int result) const override;

    // The module whose message table names the records: "Filewipe.dll" when loaded, else the
    // process's executable.
    static std::wstring MessageFilePath();

private:
    IShredSystem& m_system;
    const ShredVariant& m_variant;
    ShredRegistry m_registry;
};

}  // namespace shred
