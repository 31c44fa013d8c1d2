// The setup program's trace log: the file named by "/l=", one line per stage mark. The first
// write of a process starts the file anew; later writes append.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace setup::sysconfig {

struct TraceLogFormat
{
    // Windows NT writes UTF-16LE lines (converted from the ANSI code page); Windows 9x ANSI lines.
    bool unicode = true;
    std::function<std::u16string(std::string_view)> ansiToUtf16;
};

class TraceLog
{
public:
    explicit TraceLog(TraceLogFormat format) : m_format(std::move(format)) {}

    // Appends line + CR LF to the file at path; nothing when path is empty. Failures lose the line.
    void Write(const std::string& path, std::string_view line);
    // Cleared by the first write of the process, whether a stage mark or an install header block.
    bool FirstWritePending() const { return m_firstWrite; }
    void FirstWriteDone() { m_firstWrite = false; }

private:
    TraceLogFormat m_format;
    bool m_firstWrite = true;
};

// The process's trace log, in the format of the running system.
TraceLog& ProcessTraceLog();
// Writes to the process's trace log at the engine's current trace-log path.
void WriteTraceLog(const std::string& path, std::string_view line);

}  // namespace setup::sysconfig
