#include "setup/forms/format_settings.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "setup/engine/rtl/exceptions.h"

namespace setup::forms {
namespace {

FormatSettings German()
{
    FormatSettings settings;
    settings.decimalSeparator = ',';
    settings.dateSeparator = '.';
    settings.shortDateFormat = "dd.MM.yyyy";
    settings.shortTimeFormat = "hh:mm";
    settings.longTimeFormat = "hh:mm:ss";
    return settings;
}

constexpr double kJan1st2000 = 36526;
constexpr double kJan1st2020 = 43831;  // a Wednesday

TEST(FormatDateTime, WritesEachFormatLetter)
{
    struct Case
    {
        const char* format;
        double value;
        bool german;
        const char* text;
    };
    const Case cases[] = {
        {"c", kJan1st2000 + 0.25, false, "1/1/2000 6:00:00 AM"},
        {"c", kJan1st2000, false, "1/1/2000"},  // midnight: no time
        {"c", kJan1st2000 + 0.25, true, "01.01.2000 06:00:00"},
        {"ddddd", 0, false, "12/30/1899"},
        {"tt", 0.75, false, "6:00:00 PM"},
        {"tt", 0, false, "12:00:00 AM"},
        {"t", 0.5, false, "12:00 PM"},
        {"t", 0.5, true, "12:00"},
        {"yyyy-mm-dd hh:nn:ss.zzz", kJan1st2020 + 0.5 + 1.5 / 86400, false,
         "2020-01-01 12:00:01.500"},
        {"dddd d mmmm yy", kJan1st2020, false, "Wednesday 1 January 20"},
        {"ddd, mmm d", kJan1st2020 + 3, false, "Sat, Jan 4"},
        {"h:m am/pm", 0.5625, false, "1:30 pm"},
        {"hh:mm A/P", 0.5625, false, "01:30 P"},
        {"H:MM AMPM", 0.5625, true, "1:30 PM"},
        {"d/m/y", kJan1st2020, true, "1.1.20"},
        {"'at' h:mm \"o'clock\"", 0.25, false, "at 6:00 o'clock"},
        {"c", -1.25, false, "12/29/1899 6:00:00 AM"},  // before day 0, time still forward
        {"c", 0.9999999999, false, "12/31/1899"},      // rounds to the next midnight
        {"yyyy-mm-dd", 2958465, false, "9999-12-31"},  // the last day
        {"yyyy-mm-dd", -693593, false, "0001-01-01"},  // the first day
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDateTime(c.format, c.value, c.german ? German() : FormatSettings{}), c.text)
            << c.format << " " << c.value;

    for (const double outside :
         {2958466.0, -693594.0, 1e300, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_THROW(DateTimeToText(outside, {}), rtl::Exception) << outside;
}

TEST(TextToDateTime, ReadsDatesAndTimesInTheSettingsOrderAndRefusesTheRest)
{
    enum Kind
    {
        Date,
        Time,
        Both
    };
    struct Case
    {
        Kind kind;
        const char* text;
        bool german;
        const char* read;  // written back as yyyy-mm-dd hh:nn:ss.zzz; null: refused
    };
    const Case cases[] = {
        {Date, "1/2/2020", false, "2020-01-02 00:00:00.000"},
        {Date, " 02.01.2020 ", true, "2020-01-02 00:00:00.000"},
        {Date, "1/2/20", false, "2020-01-02 00:00:00.000"},
        {Date, "1/2/49", false, "2049-01-02 00:00:00.000"},
        {Date, "1/2/50", false, "1950-01-02 00:00:00.000"},
        {Date, "1/2/0050", false, "0050-01-02 00:00:00.000"},
        {Date, "2/29/2000", false, "2000-02-29 00:00:00.000"},
        {Date, "2/29/1900", false, nullptr},
        {Date, "13/1/2020", false, nullptr},
        {Date, "0/1/2020", false, nullptr},
        {Date, "1/2", false, nullptr},
        {Date, "1/2/2020/3", false, nullptr},
        {Date, "1//2020", false, nullptr},
        {Date, "a/2/2020", false, nullptr},
        {Date, "1/2/10000", false, nullptr},
        {Date, "1.2.2020", false, nullptr},
        {Date, "", false, nullptr},
        {Time, "6:05 PM", false, "1899-12-30 18:05:00.000"},
        {Time, "AM 6:05", false, "1899-12-30 06:05:00.000"},
        {Time, "12:00 am", false, "1899-12-30 00:00:00.000"},
        {Time, "12 PM", false, "1899-12-30 12:00:00.000"},
        {Time, "6:5:7.250", false, "1899-12-30 06:05:07.250"},
        {Time, "23:59:59", true, "1899-12-30 23:59:59.000"},
        {Time, "13:00 PM", false, nullptr},
        {Time, "0 AM", false, nullptr},
        {Time, "24:00", false, nullptr},
        {Time, "6:60", false, nullptr},
        {Time, "6:00:00:00", false, nullptr},
        {Time, "6:00.1000", false, nullptr},
        {Time, "PM", false, nullptr},
        {Both, "1/2/2020 6:05:07 PM", false, "2020-01-02 18:05:07.000"},
        {Both, "1/2/2020", false, "2020-01-02 00:00:00.000"},
        {Both, "18:00", false, "1899-12-30 18:00:00.000"},
        {Both, "12/29/1899 6:00", false, "1899-12-29 06:00:00.000"},
        {Both, "1/2/2020 noon", false, nullptr},
    };
    for (const Case& c : cases) {
        const FormatSettings settings = c.german ? German() : FormatSettings{};
        const std::optional<double> value = c.kind == Date   ? TextToDate(c.text, settings)
                                            : c.kind == Time ? TextToTime(c.text, settings)
                                                             : TextToDateTime(c.text, settings);
        if (!c.read) {
            EXPECT_FALSE(value) << c.text;
            continue;
        }
        ASSERT_TRUE(value) << c.text;
        EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", *value, settings), c.read) << c.text;
    }
}

TEST(FloatText, WritesFifteenDigitsAndReadsOnlyPlainNumbers)
{
    struct Written
    {
        long double value;
        bool german;
        const char* text;
    };
    const Written written[] = {
        {0.5L, false, "0.5"},          {0.5L, true, "0,5"},
        {100, false, "100"},           {1.0L / 3, false, "0.333333333333333"},
        {1e25L, false, "1E25"},        {1.5e-20L, false, "1.5E-20"},
        {-0.0L, false, "-0"},          {std::numeric_limits<long double>::infinity(), false, "INF"},
        {std::nanl(""), false, "NAN"},
    };
    for (const Written& c : written)
        EXPECT_EQ(FloatToText(c.value, c.german ? German() : FormatSettings{}), c.text);

    struct Read
    {
        const char* text;
        bool german;
        std::optional<long double> value;
    };
    const Read read[] = {
        {" 2.5 ", false, 2.5L}, {"1e3", false, 1000.0L}, {"1E+3", false, 1000.0L},
        {"-.5", false, -0.5L},  {"5.", false, 5.0L},     {"1,5", true, 1.5L},
        {"1,5", false, {}},     {"1.5", true, {}},       {"0x10", false, {}},
        {"inf", false, {}},     {"nan", false, {}},      {".", false, {}},
        {"1e", false, {}},      {"", false, {}},         {"2 3", false, {}},
    };
    for (const Read& c : read)
        EXPECT_EQ(TextToFloat(c.text, c.german ? German() : FormatSettings{}), c.value) << c.text;
}

}  // namespace
}  // namespace setup::forms
