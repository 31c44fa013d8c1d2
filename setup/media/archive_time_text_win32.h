// An entry time as the archive listing shows it: local time in two-second steps, written in the
// user's short date and long time formats.
#pragma once

#include <windows.h>

#include <string>

namespace setup::media {

// Empty when the time cannot be expressed (before 1980 or after 2107).
std::string EntryTimeText(const FILETIME& utcTime);

}  // namespace setup::media
