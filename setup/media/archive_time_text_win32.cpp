#include "setup/media/archive_time_text_win32.h"

namespace setup::media {

std::string EntryTimeText(const FILETIME& utcTime)
{
    FILETIME localTime{};
    WORD dosDate = 0;
    WORD dosTime = 0;
    FILETIME roundedTime{};
    SYSTEMTIME parts{};
    if (!::FileTimeToLocalFileTime(&utcTime, &localTime) ||
        !::FileTimeToDosDateTime(&localTime, &dosDate, &dosTime) ||
        !::DosDateTimeToFileTime(dosDate, dosTime, &roundedTime) ||
        !::FileTimeToSystemTime(&roundedTime, &parts)) {
        return {};
    }
    char date[128] = {};
    char time[128] = {};
    if (::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &parts, nullptr, date, sizeof date) ==
            0 ||
        ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &parts, nullptr, time, sizeof time) == 0) {
        return {};
    }
    return std::string(date) + " " + time;
}

}  // namespace setup::media
