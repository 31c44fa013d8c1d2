// The recycle-bin shredder's log over any bytes: up to the first zero byte a log template as
// read from the template folder, then zero-separated row paths whose first byte is a result;
// language texts are the keys but for the count and date formats, taken from the last part.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "suite/recyclebin/html_log.h"
#include "suite/recyclebin/text_format.h"

namespace {

class KeyTexts final : public trashwipe::ILanguageTexts
{
public:
    std::wstring Text(std::wstring_view key, int) override
    {
        if (key == L"stream_d_files" || key == L"dateformat")
            return format;
        return std::wstring(key);
    }
    int CurrentLanguage() override { return 0; }
    std::wstring format;
};

class FixedClock final : public trashwipe::ILogClock
{
public:
    std::int64_t Now() override { return 1700000000; }
    std::optional<std::tm> LocalTime(std::int64_t seconds) override
    {
        std::tm t{};
        t.tm_year = 123;
        t.tm_mday = 1 + static_cast<int>(seconds % 28);
        return t;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            parts.emplace_back();
        else
            parts.back().push_back(static_cast<char>(data[i]));
    }
    KeyTexts texts;
    for (unsigned char c : parts.back())
        texts.format.push_back(static_cast<wchar_t>(c));
    FixedClock clock;
    trashwipe::HtmlLogPage page({3, 0, 8, L"C:\\Tpl\\", L"PC"}, texts, clock);
    page.Begin(parts.front());
    for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
        const std::string& row = parts[i];
        const int result = row.empty() ? -1 : -static_cast<int>(static_cast<unsigned char>(row[0]));
        std::wstring path;
        for (std::size_t j = 1; j < row.size(); ++j)
            path.push_back(static_cast<wchar_t>(static_cast<unsigned char>(row[j])));
        page.AddRow(result, path, path);
    }
    page.Finish();
    page.PutLogPath(L"C:\\Logs\\run.html");
    const std::string bytes = trashwipe::LogFileBytes(page.Page());
    const std::wstring counted = trashwipe::FormatNumbers(texts.format, {1, 2});
    if (counted.size() > texts.format.size() * 21 + 1)
        __builtin_trap();
    // Every character becomes one byte, every line feed two.
    if (bytes.size() < page.Page().size())
        __builtin_trap();
    return 0;
}
