// The user locale's conventions, read with GetLocaleInfoA; what the locale does not give keeps
// its default.
#include <windows.h>

#include <string>

#include "setup/forms/format_settings.h"

namespace setup::forms {
namespace {

std::string LocaleText(LCTYPE type)
{
    char buffer[256];
    const int length = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return length > 1 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

void Take(LCTYPE type, std::string& target)
{
    if (std::string text = LocaleText(type); !text.empty())
        target = std::move(text);
}

void Take(LCTYPE type, char& target)
{
    if (const std::string text = LocaleText(type); text.size() == 1)
        target = text[0];
}

// Windows writes the 24-hour clock as H and the AM/PM mark as t or tt; our formats take h for
// both clocks and ampm for the mark.
std::string TimeFormat(std::string format)
{
    std::string result;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '\'') {
            const std::size_t end = format.find('\'', i + 1);
            const std::size_t stop = end == std::string::npos ? format.size() - 1 : end;
            result.append(format, i, stop - i + 1);
            i = stop;
        } else if (c == 't') {
            result += "AMPM";
            while (i + 1 < format.size() && format[i + 1] == 't')
                ++i;
        } else {
            result += c == 'H' ? 'h' : c;
        }
    }
    return result;
}

}  // namespace

FormatSettings SystemFormatSettings()
{
    FormatSettings settings;
    Take(LOCALE_SDECIMAL, settings.decimalSeparator);
    Take(LOCALE_SDATE, settings.dateSeparator);
    Take(LOCALE_STIME, settings.timeSeparator);
    Take(LOCALE_SSHORTDATE, settings.shortDateFormat);
    Take(LOCALE_STIMEFORMAT, settings.longTimeFormat);
    settings.longTimeFormat = TimeFormat(settings.longTimeFormat);
    // The short time is the long one without its seconds.
    settings.shortTimeFormat = settings.longTimeFormat;
    if (const std::size_t seconds = settings.shortTimeFormat.find("ss");
        seconds != std::string::npos && seconds > 0)
        settings.shortTimeFormat.erase(seconds - 1, 3);
    Take(LOCALE_S1159, settings.timeAmString);
    Take(LOCALE_S2359, settings.timePmString);
    for (int month = 0; month < 12; ++month) {
        Take(LOCALE_SABBREVMONTHNAME1 + month, settings.shortMonthNames[month]);
        Take(LOCALE_SMONTHNAME1 + month, settings.longMonthNames[month]);
    }
    // Windows counts the days from Monday; the names here start on Sunday.
    for (int day = 0; day < 7; ++day) {
        Take(LOCALE_SABBREVDAYNAME1 + (day + 6) % 7, settings.shortDayNames[day]);
        Take(LOCALE_SDAYNAME1 + (day + 6) % 7, settings.longDayNames[day]);
    }
    return settings;
}

}  // namespace setup::forms
