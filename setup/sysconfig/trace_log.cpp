#include "setup/sysconfig/trace_log.h"

#include <fstream>

namespace setup::sysconfig {

void TraceLog::Write(const std::string& path, std::string_view line)
{
    if (path.empty())
        return;
    const auto mode = std::ios::binary | (m_firstWrite ? std::ios::trunc : std::ios::app);
    m_firstWrite = false;
    std::ofstream file(path, std::ios::out | mode);
    if (!file)
        return;
    const std::string text = std::string(line) + "\r\n";
    if (!m_format.unicode || !m_format.ansiToUtf16) {
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        return;
    }
    // No byte-order mark and no terminating zero: the characters before any zero, two bytes each.
    std::u16string wide = m_format.ansiToUtf16(text);
    wide.resize(wide.find(u'\0') == std::u16string::npos ? wide.size() : wide.find(u'\0'));
    std::string bytes;
    for (char16_t c : wide) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteTraceLog(const std::string& path, std::string_view line)
{
    ProcessTraceLog().Write(path, line);
}

}  // namespace setup::sysconfig
