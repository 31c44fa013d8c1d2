#include "setup/engine/script/fast_strings.h"

#include <cstring>

#include "setup/engine/rtl/exceptions.h"

namespace setup::engine {
namespace {

std::uint8_t Byte(char c)
{
    return static_cast<std::uint8_t>(c);
}

const std::array<std::uint8_t, 256>& Upper()
{
    return rtl::SystemCodePage().upper;
}

template <typename Fold>
void BuildTable(const char* pattern, int m, SkipTable& table, Fold fold)
{
    if (m == 0)
        throw rtl::Exception("BufferLen is 0");
    table.fill(m);
    for (int i = 0; i < m - 1; ++i)
        table[fold(Byte(pattern[i]))] = m - 1 - i;
}

template <typename Fold>
const char* Scan(const char* textStart, const char* pattern, int textLength, const SkipTable& table,
                 int m, Fold fold)
{
    if (m <= 0)
        return nullptr;
    for (long long r = m - 1; r < textLength;) {
        int j = 0;
        while (j < m && fold(Byte(textStart[r - j])) == fold(Byte(pattern[m - 1 - j])))
            ++j;
        if (j == m)
            return textStart + (r - (m - 1));
        r += table[fold(Byte(textStart[r]))];
    }
    return nullptr;
}

template <typename Build, typename ScanFn>
int PosFromImpl(const char* text, const char* pattern, int textLength, int start, int m,
                Build build, ScanFn scan)
{
    if (m <= 0 || textLength < m)
        return 0;
    if (start < 1)
        start = 1;  // nothing lies before the text
    if (start > textLength)
        return 0;
    SkipTable table;
    build(pattern, m, table);
    const char* match = scan(text + start - 1, pattern, textLength - start + 1, table, m);
    return match == nullptr ? 0 : static_cast<int>(match - text) + 1;
}

template <typename Fold>
int PosBackImpl(const char* text, const char* pattern, int textLength, int start, int m, Fold fold)
{
    if (m <= 0 || textLength < m)
        return 0;
    const int lastStart = textLength - m + 1;
    if (start <= 0 || start > lastStart)
        start = lastStart;
    for (int pos = start; pos >= 1; --pos) {
        const char* at = text + pos - 1;
        if (fold(Byte(at[0])) != fold(Byte(pattern[0])))
            continue;
        int j = 1;
        while (j < m && fold(Byte(at[j])) == fold(Byte(pattern[j])))
            ++j;
        if (j == m)
            return pos;
    }
    return 0;
}

const auto kSame = [](std::uint8_t b) { return b; };
const auto kUpper = [](std::uint8_t b) { return Upper()[b]; };

// Next occurrence at or after `from`, stepping over double-byte characters and ending at a NUL.
std::size_t FindStoppingAtNul(std::string_view text, std::string_view pattern, std::size_t from,
                              const std::array<bool, 256>& leadByte)
{
    // A pattern holding a NUL could only match across the point where the search ends.
    if (pattern.find('\0') != std::string_view::npos)
        return std::string_view::npos;
    const std::size_t m = pattern.size();
    std::size_t i = from;
    while (i < text.size() && text[i] != '\0') {
        if (i + m <= text.size() && std::memcmp(text.data() + i, pattern.data(), m) == 0)
            return i;
        i += leadByte[Byte(text[i])] ? 2 : 1;
    }
    return std::string_view::npos;
}

}  // namespace

void BuildSkipTable(const char* pattern, int m, SkipTable& table)
{
    BuildTable(pattern, m, table, kSame);
}

void BuildSkipTableNoCase(const char* pattern, int m, SkipTable& table)
{
    BuildTable(pattern, m, table, kUpper);
}

const char* ScanForward(const char* textStart, const char* pattern, int textLength,
                        const SkipTable& table, int m)
{
    return Scan(textStart, pattern, textLength, table, m, kSame);
}

const char* ScanForwardNoCase(const char* textStart, const char* pattern, int textLength,
                              const SkipTable& table, int m)
{
    return Scan(textStart, pattern, textLength, table, m, kUpper);
}

int PosFrom(const char* text, const char* pattern, int textLength, int start, int m)
{
    return PosFromImpl(text, pattern, textLength, start, m, BuildSkipTable, ScanForward);
}

int PosFromNoCase(const char* text, const char* pattern, int textLength, int start, int m)
{
    return PosFromImpl(text, pattern, textLength, start, m, BuildSkipTableNoCase,
                       ScanForwardNoCase);
}

int PosBackFrom(const char* text, const char* pattern, int textLength, int start, int m)
{
    return PosBackImpl(text, pattern, textLength, start, m, kSame);
}

int PosBackFromNoCase(const char* text, const char* pattern, int textLength, int start, int m)
{
    return PosBackImpl(text, pattern, textLength, start, m, kUpper);
}

int FindCharFromNoCase(std::string_view text, char character, int start)
{
    if (start < 1)
        start = 1;
    if (text.empty() || static_cast<std::size_t>(start) > text.size())
        return 0;
    const std::uint8_t wanted = Upper()[Byte(character)];
    for (std::size_t i = static_cast<std::size_t>(start) - 1; i < text.size(); ++i) {
        if (Upper()[Byte(text[i])] == wanted)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

void CopyBytes(const char* source, char* destination, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        destination[i] = source[i];
}

int SearchText(std::string_view pattern, std::string_view text, bool caseSensitive, int start,
               bool forward)
{
    const int n = static_cast<int>(text.size());
    const int m = static_cast<int>(pattern.size());
    if (forward) {
        return caseSensitive ? PosFrom(text.data(), pattern.data(), n, start, m)
                             : PosFromNoCase(text.data(), pattern.data(), n, start, m);
    }
    return caseSensitive ? PosBackFrom(text.data(), pattern.data(), n, start, m)
                         : PosBackFromNoCase(text.data(), pattern.data(), n, start, m);
}

std::uint64_t InitialReplaceCapacity(std::uint64_t n, std::uint64_t m, std::uint64_t k)
{
    std::uint64_t capacity = m < k ? n * k / m : n;
    if (capacity > 10 * n)
        capacity = 10 * n;
    return capacity;
}

std::uint64_t GrownReplaceCapacity(std::uint64_t written, std::uint64_t gap, std::uint64_t k)
{
    return (written + gap + k) * 3 / 2;
}

std::string StrReplace(std::string_view source, std::string_view pattern,
                       std::string_view replacement, int flags)
{
    return StrReplace(source, pattern, replacement, flags, rtl::SystemCodePage());
}

std::string StrReplace(std::string_view source, std::string_view pattern,
                       std::string_view replacement, int flags, const rtl::CodePageFacts& codePage)
{
    const std::size_t n = source.size();
    const std::size_t m = pattern.size();
    const std::size_t k = replacement.size();
    if (n == 0 || m == 0 || n < m)
        return std::string(source);

    std::string upperSource;
    std::string upperPattern;
    std::string_view haystack = source;
    std::string_view needle = pattern;
    if (flags & kReplaceIgnoreCase) {
        upperSource = codePage.UpperCase(source);
        upperPattern = codePage.UpperCase(pattern);
        haystack = upperSource;
        needle = upperPattern;
    }

    std::size_t capacity = static_cast<std::size_t>(InitialReplaceCapacity(n, m, k));
    std::string result(capacity, '\0');
    std::size_t written = 0;
    std::size_t position = 0;
    const std::size_t last = n - m;
    for (;;) {
        const std::size_t found = FindStoppingAtNul(haystack, needle, position, codePage.leadByte);
        if (found == std::string_view::npos)
            break;
        const std::size_t gap = found - position;
        if (capacity - written < gap + k) {
            capacity = static_cast<std::size_t>(GrownReplaceCapacity(written, gap, k));
            result.resize(capacity);
        }
        CopyBytes(source.data() + position, result.data() + written, gap);
        written += gap;
        CopyBytes(replacement.data(), result.data() + written, k);
        written += k;
        position = found + m;
        if (!(flags & kReplaceAll) || position > last)
            break;
    }
    const std::size_t rest = n - position;
    if (capacity - written < rest)
        result.resize(written + rest);
    CopyBytes(source.data() + position, result.data() + written, rest);
    result.resize(written + rest);
    return result;
}

}  // namespace setup::engine
