// The update server's answer: an error text, or key=value lines read into the settings; the
// escapes some values carry; the version comparison; and the installer's local name.
#pragma once

#include "suite/update/refreshkit_settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace update {

enum RequestResult : int
{
    kAnswerRead = 1,
    kErrorAnswer = -2,  // an error text, or an HTTP status other than 200
    kRequestFailed = -1,
};

// Reads an answer body into the settings: kErrorAnswer for a body without "]" (its message kept),
// else every key found and kAnswerRead.
int ReadAnswer(std::wstring_view body, CRefreshkitSettings& settings);

// A value made of "%uXXXX" escapes as the characters they stand for; a value without "%u" as it is.
std::wstring DecodeAnswerText(std::wstring_view value);
// At most the first four hexadecimal digits of a token, most significant first.
wchar_t ParseHexUnit(std::wstring_view token);

// The installed text sorts before the offered one, character by character without regard to case:
// a text comparison, so "7.9" is not older than "7.10".
bool IsNewerVersion(std::wstring_view installed, std::wstring_view offered);

// The file name of the downloaded installer: the part after the last "/" or "\"; nothing for a name
// that could leave the temporary folder (":", "..", or empty).
std::optional<std::wstring> InstallerFileName(std::wstring_view serverName);

// Bytes done as a whole percentage of the announced size, 0 to 100; 0 when no size was announced.
int DownloadPercent(std::uint64_t done, std::int64_t announced);

}  // namespace update
