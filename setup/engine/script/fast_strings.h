// Byte-oriented search and replace over ANSI texts: Horspool forward scans with a skip table,
// backward scans position by position, and case-insensitive variants through the code page's
// upper-case table. Positions are 1-based; 0 means not found.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "setup/engine/rtl/code_page.h"

namespace setup::engine {

using SkipTable = std::array<std::int32_t, 256>;

// m = 0 raises "BufferLen is 0".
void BuildSkipTable(const char* pattern, int m, SkipTable& table);
void BuildSkipTableNoCase(const char* pattern, int m, SkipTable& table);

const char* ScanForward(const char* textStart, const char* pattern, int textLength,
                        const SkipTable& table, int m);
const char* ScanForwardNoCase(const char* textStart, const char* pattern, int textLength,
                              const SkipTable& table, int m);

int PosFrom(const char* text, const char* pattern, int textLength, int start, int m);
int PosFromNoCase(const char* text, const char* pattern, int textLength, int start, int m);
int PosBackFrom(const char* text, const char* pattern, int textLength, int start, int m);
int PosBackFromNoCase(const char* text, const char* pattern, int textLength, int start, int m);

int FindCharFromNoCase(std::string_view text, char character, int start);
void CopyBytes(const char* source, char* destination, std::size_t count);

int SearchText(std::string_view pattern, std::string_view text, bool caseSensitive, int start,
               bool forward);

constexpr int kReplaceAll = 1;
constexpr int kReplaceIgnoreCase = 2;

// Replaces the first (or with kReplaceAll every) occurrence of the pattern. The search stops at
// the source's first NUL and never matches inside a double-byte character.
std::string StrReplace(std::string_view source, std::string_view pattern,
                       std::string_view replacement, int flags);
std::string StrReplace(std::string_view source, std::string_view pattern,
                       std::string_view replacement, int flags, const rtl::CodePageFacts& codePage);

// The result buffer's sizing: the estimate made ahead, and the size it grows to when a
// replacement does not fit.
std::uint64_t InitialReplaceCapacity(std::uint64_t n, std::uint64_t m, std::uint64_t k);
std::uint64_t GrownReplaceCapacity(std::uint64_t written, std::uint64_t gap, std::uint64_t k);

}  // namespace setup::engine
