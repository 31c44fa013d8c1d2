// The user's conventions for numbers, dates and times, and the texts of float, date and time
// values written and read with them. Dates are days since 30 December 1899, the time of day the
// fraction (for days before that, the fraction still counts forward from midnight).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace setup::forms {

// Format letters, in any case: d dd (day), ddd dddd (day name), ddddd (short date), m mm (month, or
// the minute right after an hour), mmm mmmm (month name), yy yyyy (year), h hh (hour), n nn
// (minute), s ss (second), z zzz (millisecond), t (short time), tt (long time), c (short date, and
// the long time unless it is midnight), am/pm a/p ampm (12-hour clock), / and : (the separators),
// and text in single or double quotes as it is.
struct FormatSettings
{
    char decimalSeparator = '.';
    char dateSeparator = '/';
    char timeSeparator = ':';
    std::string shortDateFormat = "M/d/yyyy";
    std::string shortTimeFormat = "h:mm AMPM";
    std::string longTimeFormat = "h:mm:ss AMPM";
    std::string timeAmString = "AM";
    std::string timePmString = "PM";
    std::array<std::string, 12> shortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};
    std::array<std::string, 7> shortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};
};

// The user's settings on Windows; elsewhere the defaults above.
FormatSettings SystemFormatSettings();

// Raises rtl::Exception for a date outside the years 1 to 9999 or a value that is not finite.
std::string FormatDateTime(std::string_view format, double value, const FormatSettings& settings);
std::string DateTimeToText(double value, const FormatSettings& settings);  // "c"
std::string DateToText(double value, const FormatSettings& settings);      // the short date
std::string TimeToText(double value, const FormatSettings& settings);      // the long time

// A date is three numbers in the order of the short date format, split by the date separator; a
// year of one or two digits is 1950 to 2049. A time is hours with optional minutes, seconds and
// milliseconds, split by the time separator, and an optional AM or PM (the settings' strings or
// the words themselves). A date and time is a date, optionally followed by blanks and a time.
std::optional<double> TextToDateTime(std::string_view text, const FormatSettings& settings);
std::optional<double> TextToDate(std::string_view text, const FormatSettings& settings);
std::optional<double> TextToTime(std::string_view text, const FormatSettings& settings);

// Fifteen significant digits, an exponent only for very large or small values ("1.5E-20").
std::string FloatToText(long double value, const FormatSettings& settings);
// Blanks around the number are allowed; anything else after it is not.
std::optional<long double> TextToFloat(std::string_view text, const FormatSettings& settings);

}  // namespace setup::forms
