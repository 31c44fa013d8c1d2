#include "setup/forms/format_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/type_info.h"

namespace setup::forms {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
// Days from 1 January 1970 back to 30 December 1899, the day 0 of dates.
constexpr std::int64_t kUnixDayOfDayZero = -25'569;

struct CivilDate
{
    int year;
    int month;
    int day;
};

// The proleptic Gregorian calendar, from and to days since 1 January 1970.
CivilDate CivilFromDays(std::int64_t z)
{
    z += 719'468;
    const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
    const std::int64_t doe = z - era * 146'097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36'524 - doe / 146'096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (month <= 2)), month, day};
}

std::int64_t DaysFromCivil(int year, int month, int day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yoe = year - era * 400;
    const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146'097 + doe - 719'468;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// A value taken apart: the day from the whole part, the time of day from the fraction rounded to
// milliseconds (a fraction that rounds to a whole day is the next midnight).
struct DateTimeParts
{
    CivilDate date;
    int dayOfWeek;  // 0 Sunday
    int hour, minute, second, millisecond;
};

DateTimeParts Decode(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 4.0e6)
        throw rtl::Exception("Invalid argument to date encode");
    auto day = static_cast<std::int64_t>(std::trunc(value));
    std::int64_t ms = std::llround(std::fabs(value - std::trunc(value)) * kMsPerDay);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        ++day;
    }
    DateTimeParts parts{};
    parts.date = CivilFromDays(day + kUnixDayOfDayZero);
    if (parts.date.year < 1 || parts.date.year > 9999)
        throw rtl::Exception("Invalid argument to date encode");
    parts.dayOfWeek = static_cast<int>(((day + 6) % 7 + 7) % 7);  // day 0 was a Saturday
    parts.hour = static_cast<int>(ms / 3'600'000);
    parts.minute = static_cast<int>(ms / 60'000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.millisecond = static_cast<int>(ms % 1000);
    return parts;
}

// A date before day 0 counts its time of day forward too, so the time is taken off.
double Combine(double date, double time)
{
    return date < 0 ? date - time : date + time;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool StartsWithName(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

std::string Padded(int value, int width)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

// Whether the format asks for the 12-hour clock (outside quoted text).
bool UsesAmPm(std::string_view format)
{
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '"' || format[i] == '\'') {
            const std::size_t end = format.find(format[i], i + 1);
            if (end == std::string_view::npos)
                return false;
            i = end;
        } else if (StartsWithName(format.substr(i), "am/pm") ||
                   StartsWithName(format.substr(i), "a/p") ||
                   StartsWithName(format.substr(i), "ampm")) {
            return true;
        }
    }
    return false;
}

class DateTimeFormatter
{
public:
    DateTimeFormatter(const DateTimeParts& parts, const FormatSettings& settings)
        : m_parts(parts), m_settings(settings)
    {}

    // Formats named by a format (c, t, ddddd) nest at most twice, so a settings format that
    // names itself ends.
    void Append(std::string_view format, std::string& out, int depth = 0)
    {
        const bool twelveHour = UsesAmPm(format);
        bool afterHour = false;
        for (std::size_t i = 0; i < format.size();) {
            const char c = Lower(format[i]);
            std::size_t run = 1;
            while (i + run < format.size() && Lower(format[i + run]) == c)
                ++run;
            if (c == '"' || c == '\'') {
                const std::size_t end = format.find(format[i], i + 1);
                const std::size_t stop = end == std::string_view::npos ? format.size() : end;
                out.append(format.substr(i + 1, stop - i - 1));
                i = stop == format.size() ? stop : stop + 1;
                continue;
            }
            if (c == 'a') {
                if (AppendAmPm(format.substr(i), out, i))
                    continue;
                out += format[i++];
                continue;
            }
            const bool isHour = c == 'h';
            switch (c) {
                case 'd':
                    AppendDay(run, out, depth);
                    break;
                case 'm':
                    if (afterHour && run <= 2)
                        out += Padded(m_parts.minute, static_cast<int>(run));
                    else if (run <= 2)
                        out += Padded(m_parts.date.month, static_cast<int>(run));
                    else
                        out += (run == 3 ? m_settings.shortMonthNames
                                         : m_settings.longMonthNames)[m_parts.date.month - 1];
                    break;
                case 'y':
                    out += run <= 2 ? Padded(m_parts.date.year % 100, 2)
                                    : Padded(m_parts.date.year, 4);
                    break;
                case 'h': {
                    int hour = m_parts.hour;
                    if (twelveHour)
                        hour = hour % 12 == 0 ? 12 : hour % 12;
                    out += Padded(hour, run >= 2 ? 2 : 1);
                    break;
                }
                case 'n':
                    out += Padded(m_parts.minute, run >= 2 ? 2 : 1);
                    break;
                case 's':
                    out += Padded(m_parts.second, run >= 2 ? 2 : 1);
                    break;
                case 'z':
                    out += Padded(m_parts.millisecond, run >= 3 ? 3 : 1);
                    break;
                case 't':
                    Nested(run == 1 ? m_settings.shortTimeFormat : m_settings.longTimeFormat, out,
                           depth);
                    break;
                case 'c':
                    Nested(m_settings.shortDateFormat, out, depth);
                    if (m_parts.hour || m_parts.minute || m_parts.second || m_parts.millisecond) {
                        out += ' ';
                        Nested(m_settings.longTimeFormat, out, depth);
                    }
                    break;
                default:
                    // Separators and literal text leave "m after an hour" as it was.
                    if (c == '/')
                        out.append(run, m_settings.dateSeparator);
                    else if (c == ':')
                        out.append(run, m_settings.timeSeparator);
                    else
                        out.append(format.substr(i, run));
                    i += run;
                    continue;
            }
            afterHour = isHour;
            i += run;
        }
    }

private:
    void Nested(std::string_view format, std::string& out, int depth)
    {
        if (depth < 2)
            Append(format, out, depth + 1);
    }

    void AppendDay(std::size_t run, std::string& out, int depth)
    {
        if (run <= 2)
            out += Padded(m_parts.date.day, static_cast<int>(run));
        else if (run == 3)
            out += m_settings.shortDayNames[m_parts.dayOfWeek];
        else if (run == 4)
            out += m_settings.longDayNames[m_parts.dayOfWeek];
        else
            Nested(m_settings.shortDateFormat, out, depth);
    }

    // am/pm and a/p in the case the format writes them; ampm as the settings' strings.
    bool AppendAmPm(std::string_view rest, std::string& out, std::size_t& i)
    {
        const bool pm = m_parts.hour >= 12;
        if (StartsWithName(rest, "am/pm")) {
            out += rest.substr(pm ? 3 : 0, 2);
            i += 5;
        } else if (StartsWithName(rest, "a/p")) {
            out += rest.substr(pm ? 2 : 0, 1);
            i += 3;
        } else if (StartsWithName(rest, "ampm")) {
            out += pm ? m_settings.timePmString : m_settings.timeAmString;
            i += 4;
        } else {
            return false;
        }
        return true;
    }

    const DateTimeParts& m_parts;
    const FormatSettings& m_settings;
};

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Unsigned decimal numbers split by one separator; at most `most` of them, none empty or longer
// than nine digits. Each keeps how many digits it was written with.
struct Number
{
    int value;
    std::size_t digits;
};

std::optional<std::vector<Number>> Numbers(std::string_view text, char separator, std::size_t most)
{
    std::vector<Number> numbers;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        const std::string_view part = text.substr(start, end - start);
        if (part.empty() || part.size() > 9 || numbers.size() == most)
            return std::nullopt;
        int value = 0;
        for (const char c : part) {
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + (c - '0');
        }
        numbers.push_back({value, part.size()});
        if (end == text.size())
            return numbers;
        start = end + 1;
    }
}

// The order of day, month and year in the short date format, as the letters 'd', 'm', 'y'.
std::string DateOrder(std::string_view format)
{
    std::string order;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = Lower(format[i]);
        if (c == '"' || c == '\'') {
            const std::size_t end = format.find(format[i], i + 1);
            if (end == std::string_view::npos)
                break;
            i = end;
        } else if ((c == 'd' || c == 'm' || c == 'y') && order.find(c) == std::string::npos) {
            order += c;
        }
    }
    return order.size() == 3 ? order : "mdy";
}

}  // namespace

std::string FormatDateTime(std::string_view format, double value, const FormatSettings& settings)
{
    const DateTimeParts parts = Decode(value);
    std::string out;
    DateTimeFormatter(parts, settings).Append(format, out);
    return out;
}

std::string DateTimeToText(double value, const FormatSettings& settings)
{
    return FormatDateTime("c", value, settings);
}

std::string DateToText(double value, const FormatSettings& settings)
{
    return FormatDateTime("ddddd", value, settings);
}

std::string TimeToText(double value, const FormatSettings& settings)
{
    return FormatDateTime("tt", value, settings);
}

std::optional<double> TextToDate(std::string_view text, const FormatSettings& settings)
{
    const auto numbers = Numbers(Trimmed(text), settings.dateSeparator, 3);
    if (!numbers || numbers->size() != 3)
        return std::nullopt;
    const std::string order = DateOrder(settings.shortDateFormat);
    int day = 0, month = 0, year = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const Number& number = (*numbers)[i];
        if (order[i] == 'd')
            day = number.value;
        else if (order[i] == 'm')
            month = number.value;
        else
            year = number.digits <= 2 ? number.value + (number.value < 50 ? 2000 : 1900)
                                      : number.value;
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return std::nullopt;
    return static_cast<double>(DaysFromCivil(year, month, day) - kUnixDayOfDayZero);
}

std::optional<double> TextToTime(std::string_view text, const FormatSettings& settings)
{
    text = Trimmed(text);
    // An AM or PM mark before or after the numbers, blanks allowed between.
    int half = -1;  // 0 AM, 1 PM
    const auto takeMark = [&](bool atEnd) {
        for (const auto& [mark, value] :
             {std::pair<std::string_view, int>{settings.timeAmString, 0},
              {settings.timePmString, 1},
              {"AM", 0},
              {"PM", 1}}) {
            if (mark.empty() || text.size() < mark.size())
                continue;
            const std::string_view candidate =
                atEnd ? text.substr(text.size() - mark.size()) : text.substr(0, mark.size());
            if (SameName(candidate, mark)) {
                if (atEnd)
                    text.remove_suffix(mark.size());
                else
                    text.remove_prefix(mark.size());
                text = Trimmed(text);
                half = value;
                return;
            }
        }
    };
    takeMark(true);
    if (half < 0)
        takeMark(false);

    int millisecond = 0;
    if (const std::size_t dot = text.find(settings.decimalSeparator);
        dot != std::string_view::npos) {
        const auto ms = Numbers(text.substr(dot + 1), '\0', 1);
        if (!ms || (*ms)[0].value > 999)
            return std::nullopt;
        millisecond = (*ms)[0].value;
        text = text.substr(0, dot);
    }
    const auto numbers = Numbers(text, settings.timeSeparator, 3);
    if (!numbers)
        return std::nullopt;
    int hour = (*numbers)[0].value;
    const int minute = numbers->size() > 1 ? (*numbers)[1].value : 0;
    const int second = numbers->size() > 2 ? (*numbers)[2].value : 0;
    if (half >= 0) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + 12 * half;
    }
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    const std::int64_t ms = ((hour * 60 + minute) * 60 + second) * 1000LL + millisecond;
    return static_cast<double>(ms) / kMsPerDay;
}

std::optional<double> TextToDateTime(std::string_view text, const FormatSettings& settings)
{
    text = Trimmed(text);
    const std::size_t blank = text.find_first_of(" \t");
    if (blank == std::string_view::npos) {
        if (const auto date = TextToDate(text, settings))
            return date;
        return TextToTime(text, settings);
    }
    const auto date = TextToDate(text.substr(0, blank), settings);
    if (!date)
        return TextToTime(text, settings);
    const auto time = TextToTime(text.substr(blank), settings);
    if (!time)
        return std::nullopt;
    return Combine(*date, *time);
}

std::string FloatToText(long double value, const FormatSettings& settings)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15Lg", value);
    std::string text = buffer;
    // "1.5e-20" and "1e+25" become "1.5E-20" and "1E25".
    if (const std::size_t e = text.find('e'); e != std::string::npos) {
        std::size_t digits = e + 1;
        if (text[digits] == '+')
            text.erase(digits, 1);
        else if (text[digits] == '-')
            ++digits;
        while (digits + 1 < text.size() && text[digits] == '0')
            text.erase(digits, 1);
        text[e] = 'E';
    }
    if (const std::size_t dot = text.find('.'); dot != std::string::npos)
        text[dot] = settings.decimalSeparator;
    return text;
}

std::optional<long double> TextToFloat(std::string_view text, const FormatSettings& settings)
{
    text = Trimmed(text);
    // Only [sign] digits [separator digits] [E [sign] digits]: no hexadecimal, no "inf".
    std::string plain;
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            plain += text[i++];
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        plain += text[i++];
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == settings.decimalSeparator) {
        plain += '.';
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    return std::strtold(plain.c_str(), nullptr);
}

}  // namespace setup::forms
