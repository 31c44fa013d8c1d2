// How a suite library finds another one: the path built from the folder the setup recorded, the
// texts of the messages shown when a library or one of its exports is missing, and the version
// text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace suite {

// The registry buffer of the lookups: 520 bytes, 260 characters.
inline constexpr std::size_t kRegistryTextBytes = 520;

// The text of a registry read into the 520-byte buffer: nothing unless the value fit, and never
// past the buffer, whether or not the stored data carried its terminator.
std::wstring TextFromRegistryData(const wchar_t* buffer, std::size_t reportedBytes);

// Every pair of consecutive backslashes becomes one, scanning left to right without overlap.
std::wstring CollapseDoubledBackslashes(std::wstring_view path);

// folder + "\" + file name with doubled separators collapsed; the bare file name for no folder.
std::wstring JoinLibraryPath(std::wstring_view folder, std::wstring_view fileName);

// The path up to and including its last backslash; "" when it has none.
std::wstring FolderOfPath(std::wstring_view path);

std::wstring MissingLibraryMessage(std::wstring_view fileName);
std::wstring MissingExportMessage(std::wstring_view fileName, std::wstring_view exportName);
std::wstring MissingLanguageLibraryMessage(std::wstring_view path);

// "%d.%d.%d.%d" of the two 32-bit halves of a file version.
std::wstring FormatVersionText(std::uint32_t mostSignificant, std::uint32_t leastSignificant);
inline constexpr std::wstring_view kNoVersion = L"none";

}  // namespace suite
