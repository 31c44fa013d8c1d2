// The system facts the install thread asks for: short folder names, error texts, the local date
// and time for the trace log, the temporary folder.
#pragma once

#include <cstdint>
#include <string>

namespace setup::sysconfig::installer {

// The folder's short form with a trailing backslash; needsQuotes is set when that form has a
// blank or there is none (the folder is then given back as it was).
std::string ShortFolder(const std::string& folder, bool& needsQuotes);
// The system's message text of a code, inserts ignored; empty when it has none.
std::string SystemErrorText(std::uint32_t code);
std::string LocalDateTimeText();
std::string TempFolder();

}  // namespace setup::sysconfig::installer
