#include "setup/media/archive_wrapper.h"

#include "setup/engine/rtl/exceptions.h"
#include "setup/media/archive_target_list.h"
#include "setup/media/archive_time_text_win32.h"

#include <algorithm>
#include <cstring>

namespace setup::media {
namespace {

// Process-wide, unguarded: the engine runs one extraction at a time.
std::string g_defaultPassword;
bool g_defaultAnswer = false;

void ClearIfGiven(rtl::TStringList* list)
{
    if (list != nullptr) {
        list->Clear();
    }
}

void AddIfGiven(rtl::TStringList* list, std::string text)
{
    if (list != nullptr) {
        list->Add(std::move(text));
    }
}

}  // namespace

void SetDefaultArchivePassword(const std::string& password)
{
    g_defaultPassword = password;
}

void SetDefaultQueryAnswer(bool answer)
{
    g_defaultAnswer = answer;
}

int __stdcall DefaultPasswordCallback(char* buffer)
{
    if (g_defaultPassword.empty() || buffer == nullptr) {
        return 0;
    }
    // The library's buffer has a fixed size; a longer password is cut rather than overrunning it.
    const std::size_t length = std::min(g_defaultPassword.size(), kArchivePasswordBufferSize - 1);
    std::memcpy(buffer, g_defaultPassword.data(), length);
    buffer[length] = '\0';
    // A password is handed out once, so a wrong one is not offered again and again.
    g_defaultPassword.clear();
    return 1;
}

int __stdcall DefaultQueryCallback(std::int32_t, std::int32_t, std::uint32_t, std::uint32_t,
                                   std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                   std::uint32_t, std::uint32_t)
{
    return g_defaultAnswer ? kArchiveAnswerReplace : kArchiveAnswerKeep;
}

int __stdcall DefaultNotifyCallback(std::int32_t, std::int32_t)
{
    return 1;
}

int __stdcall DefaultProgressCallback(const char*, std::uint64_t, std::uint64_t)
{
    return 1;
}

std::string ArchiveErrorText()
{
    return "#" + std::to_string(GetLastArchiveError());
}

std::string OpenErrorText(std::int32_t code)
{
    switch (code) {
        case kArchiveErrorNotFound:
            return "The archive file was not found";
        case kArchiveErrorIllegalPath:
            return "Illegal path used in a wildcard expression";
        case kArchiveErrorCannotOpen:
            return "The archive cannot be opened: unsupported archive or incorrect password";
        default:
            return "General failure opening archive";
    }
}

bool ListArchive(const std::string& archivePath, const std::string& password,
                 std::string& errorText, rtl::TStringList* names, rtl::TStringList* values,
                 rtl::TStringList* sizes, rtl::TStringList* secondSizes, rtl::TStringList* times,
                 ArchivePasswordCallback passwordCallback)
{
    try {
        errorText.clear();
        for (rtl::TStringList* list : {names, values, sizes, secondSizes, times}) {
            ClearIfGiven(list);
        }
        if (passwordCallback == nullptr) {
            SetDefaultArchivePassword(password);
            passwordCallback = DefaultPasswordCallback;
        }
        ArchiveEntry* entries = nullptr;
        std::int32_t count = 0;
        ArchiveHandle handle = OpenListArchive(archivePath.c_str(), 0, passwordCallback, 0, 0, 0,
                                               password.c_str(), &entries, &count);
        if (handle == nullptr) {
            errorText = OpenErrorText(GetLastArchiveError());
            return false;
        }
        for (std::int32_t i = 0; i < count && entries != nullptr; ++i) {
            const ArchiveEntry& entry = entries[i];
            AddIfGiven(names, entry.name != nullptr ? entry.name : "");
            AddIfGiven(values, std::to_string(entry.attributes));
            AddIfGiven(sizes, std::to_string(entry.size));
            AddIfGiven(secondSizes, std::to_string(entry.packedSize));
            if (times != nullptr) {
                times->Add(EntryTimeText(entry.time));
            }
        }
        CloseListArchive(handle);
        return true;
    } catch (const rtl::Exception& failure) {
        errorText = failure.Message();
        return false;
    }
}

bool ExtractArchiveFiles(const std::string& archivePath, const std::string& password,
                         const std::string& targetFolder, bool modeFlag, bool answerFlag,
                         std::string& errorText, const rtl::TStringList* entries,
                         ArchiveProgressCallback progress, ArchiveQueryCallback query,
                         ArchiveNotifyCallback notify, ArchivePasswordCallback passwordCallback)
{
    try {
        errorText.clear();
        rtl::TStringList allEntries;
        if (entries == nullptr) {
            if (!ListArchive(archivePath, password, errorText, &allEntries, nullptr, nullptr,
                             nullptr, nullptr, passwordCallback)) {
                return false;
            }
            entries = &allEntries;
        }
        ArchiveTargetList targets(*entries);
        if (passwordCallback == nullptr) {
            SetDefaultArchivePassword(password);
            passwordCallback = DefaultPasswordCallback;
        }
        if (query == nullptr) {
            SetDefaultQueryAnswer(answerFlag);
            query = DefaultQueryCallback;
        }
        if (notify == nullptr) {
            notify = DefaultNotifyCallback;
        }
        if (progress == nullptr) {
            progress = DefaultProgressCallback;
        }
        const std::int32_t mode = modeFlag ? kArchiveModeFullPaths : kArchiveModeNoPaths;
        if (ExtractArchive(archivePath.c_str(), 1, targetFolder.c_str(), targets.Record(), mode,
                           password.c_str(), passwordCallback, progress, notify, query) != 0) {
            return true;
        }
        errorText = ArchiveErrorText();
        return false;
    } catch (const rtl::Exception& failure) {
        errorText = failure.Message();
        return false;
    }
}

}  // namespace setup::media
