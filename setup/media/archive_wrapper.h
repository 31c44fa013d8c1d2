// Extraction and listing of archives through the archive library, behind texts and string lists:
// failures come back as a Boolean and an error text, nothing is shown to the user.
#pragma once

#include "setup/engine/rtl/string_list.h"
#include "setup/media/archive_library.h"

#include <string>

namespace setup::media {

// Extracts every entry of the archive, or only the listed ones, below the target folder. The mode
// flag keeps the archive's folders; the answer flag replaces files that already exist.
bool ExtractArchiveFiles(const std::string& archivePath, const std::string& password,
                         const std::string& targetFolder, bool modeFlag, bool answerFlag,
                         std::string& errorText, const setup::rtl::TStringList* entries = nullptr,
                         ArchiveProgressCallback progress = nullptr,
                         ArchiveQueryCallback query = nullptr,
                         ArchiveNotifyCallback notify = nullptr,
                         ArchivePasswordCallback passwordCallback = nullptr);

// Lists the archive's entries, one line per entry into each list given, in the library's order:
// names, the signed 32-bit values, the two sizes and the local times.
bool ListArchive(const std::string& archivePath, const std::string& password,
                 std::string& errorText, setup::rtl::TStringList* names,
                 setup::rtl::TStringList* values = nullptr,
                 setup::rtl::TStringList* sizes = nullptr,
                 setup::rtl::TStringList* secondSizes = nullptr,
                 setup::rtl::TStringList* times = nullptr,
                 ArchivePasswordCallback passwordCallback = nullptr);

// The process-wide password and answer the default callbacks hand to the library.
void SetDefaultArchivePassword(const std::string& password);
void SetDefaultQueryAnswer(bool answer);

int __stdcall DefaultPasswordCallback(char* buffer);
int __stdcall DefaultQueryCallback(std::int32_t kind, std::int32_t entryIndex,
                                   std::uint32_t sizeLow, std::uint32_t sizeHigh,
                                   std::uint32_t timeLow, std::uint32_t timeHigh,
                                   std::uint32_t existingSizeLow, std::uint32_t existingSizeHigh,
                                   std::uint32_t existingTimeLow, std::uint32_t existingTimeHigh);
int __stdcall DefaultNotifyCallback(std::int32_t entryIndex, std::int32_t entryCount);
int __stdcall DefaultProgressCallback(const char* entryName, std::uint64_t bytesDone,
                                      std::uint64_t bytesTotal);

// "#" and the library's last error code, the text of a failed extraction.
std::string ArchiveErrorText();
// The words for a failed opening, by the library's error code.
std::string OpenErrorText(std::int32_t code);

}  // namespace setup::media
