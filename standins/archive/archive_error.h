// The failures of the archive library, each with the code GetLastArchiveError reports for it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace standins::archive {

enum class ErrorCode : std::int32_t
{
    None = 0,
    General = 1000,
    NotFound = 1001,
    IllegalPath = 1002,
    CannotOpen = 1003,
    EntryMissing = 1004,
    DataCorrupt = 1005,
    Cancelled = 1006,
    WriteFailed = 1007,
    BadArgument = 1008,
};

class ArchiveError : public std::runtime_error
{
public:
    ArchiveError(ErrorCode code, const std::string& message)
        : std::runtime_error(message), m_code(code)
    {}
    ErrorCode Code() const { return m_code; }

private:
    ErrorCode m_code;
};

}  // namespace standins::archive
