// The four exports of "qbr.lib". Nothing throws past them: every failure becomes a zero result and
// the code GetLastArchiveError reports.
#define QBR_ARCHIVE_API
#include "setup/media/archive_library.h"

#include "core/text_convert.h"
#include "standins/archive/archive_error.h"
#include "standins/archive/entry_names.h"
#include "standins/archive/extract_target_win32.h"
#include "standins/archive/extractor.h"
#include "standins/archive/file_source_win32.h"
#include "standins/archive/seven_zip_aes.h"
#include "standins/archive/seven_zip_archive.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

using namespace setup::media;
using standins::archive::ArchiveError;
using standins::archive::ErrorCode;

static_assert(static_cast<std::int32_t>(ErrorCode::NotFound) == kArchiveErrorNotFound);
static_assert(static_cast<std::int32_t>(ErrorCode::IllegalPath) == kArchiveErrorIllegalPath);
static_assert(static_cast<std::int32_t>(ErrorCode::CannotOpen) == kArchiveErrorCannotOpen);
static_assert(static_cast<std::int32_t>(ErrorCode::EntryMissing) == kArchiveErrorEntryMissing);
static_assert(static_cast<std::int32_t>(ErrorCode::DataCorrupt) == kArchiveErrorDataCorrupt);
static_assert(static_cast<std::int32_t>(ErrorCode::Cancelled) == kArchiveErrorCancelled);
static_assert(static_cast<std::int32_t>(ErrorCode::WriteFailed) == kArchiveErrorWriteFailed);
static_assert(static_cast<std::int32_t>(ErrorCode::BadArgument) == kArchiveErrorBadArgument);

namespace {

std::atomic<std::int32_t> g_lastError{0};

// The entries of one OpenListArchive call, alive until CloseListArchive.
struct ListSession
{
    std::vector<std::string> names;
    std::vector<ArchiveEntry> entries;
};

std::mutex g_sessionsLock;
std::set<ListSession*> g_sessions;

void Fail(ErrorCode code)
{
    g_lastError = static_cast<std::int32_t>(code);
}

std::string AnsiName(const std::u16string& name)
{
    return core::WideToAnsi(
        std::wstring_view(reinterpret_cast<const wchar_t*>(name.data()), name.size()));
}

std::vector<std::string> AnsiNames(const standins::archive::SevenZipArchive& archive)
{
    std::vector<std::string> names;
    for (const auto& item : archive.Items()) {
        names.push_back(AnsiName(item.name));
    }
    return names;
}

// The password of the call, else the one the caller's callback gives when an encrypted coder
// first needs it.
standins::archive::ArchivePassword CallPassword(const char* password,
                                                ArchivePasswordCallback callback)
{
    return standins::archive::ArchivePassword(
        [text = std::string(password == nullptr ? "" : password),
         callback]() -> std::optional<std::u16string> {
            std::string given = text;
            if (given.empty() && callback != nullptr) {
                char buffer[kArchivePasswordBufferSize] = {};
                if (callback(buffer) != 1) {
                    return std::nullopt;
                }
                given.assign(buffer, strnlen(buffer, sizeof buffer));
            }
            const std::wstring wide = core::AnsiToWide(given);
            return std::u16string(wide.begin(), wide.end());
        });
}

std::wstring WidePath(const char* path)
{
    if (path == nullptr || *path == '\0') {
        throw ArchiveError(ErrorCode::BadArgument, "no path");
    }
    return core::AnsiToWide(path);
}

class CallbackEvents : public standins::archive::IExtractEvents
{
public:
    CallbackEvents(const std::vector<std::string>& names, ArchiveProgressCallback progress,
                   ArchiveNotifyCallback notify, ArchiveQueryCallback query)
        : m_names(names), m_progress(progress), m_notify(notify), m_query(query)
    {}

    void EntryStarting(std::size_t index, std::size_t count) override
    {
        if (m_notify != nullptr) {
            m_notify(static_cast<std::int32_t>(index), static_cast<std::int32_t>(count));
        }
    }

    bool Progress(std::size_t index, std::uint64_t done, std::uint64_t total) override
    {
        return m_progress == nullptr || m_progress(m_names[index].c_str(), done, total) != 0;
    }

    bool ReplaceExisting(std::size_t index, const standins::archive::ArchiveItem& item,
                         const standins::archive::ExistingFile& existing) override
    {
        if (m_query == nullptr) {
            return true;
        }
        const std::uint64_t time = item.modified.value_or(0);
        const std::uint64_t existingTime = existing.modified.value_or(0);
        return m_query(kArchiveQueryReplace, static_cast<std::int32_t>(index), Low(item.size),
                       High(item.size), Low(time), High(time), Low(existing.size),
                       High(existing.size), Low(existingTime),
                       High(existingTime)) == kArchiveAnswerReplace;
    }

private:
    static std::uint32_t Low(std::uint64_t value) { return static_cast<std::uint32_t>(value); }
    static std::uint32_t High(std::uint64_t value)
    {
        return static_cast<std::uint32_t>(value >> 32);
    }

    const std::vector<std::string>& m_names;
    ArchiveProgressCallback m_progress;
    ArchiveNotifyCallback m_notify;
    ArchiveQueryCallback m_query;
};

std::vector<std::string> WantedNames(const TSZW_TARGETFILES& targets)
{
    if (targets.count != 0 && targets.names == nullptr) {
        throw ArchiveError(ErrorCode::BadArgument, "target list without names");
    }
    std::vector<std::string> wanted;
    for (std::uint32_t i = 0; i < targets.count; ++i) {
        if (targets.names[i] == nullptr) {
            throw ArchiveError(ErrorCode::BadArgument, "empty target name");
        }
        wanted.emplace_back(targets.names[i]);
    }
    return wanted;
}

}  // namespace

extern "C" ArchiveHandle __stdcall OpenListArchive(const char* archivePath, std::int32_t,
                                                   ArchivePasswordCallback passwordCallback,
                                                   std::int32_t, std::int32_t, std::int32_t,
                                                   const char* password, ArchiveEntry** entries,
                                                   std::int32_t* entryCount)
{
    try {
        if (entries == nullptr || entryCount == nullptr) {
            throw ArchiveError(ErrorCode::BadArgument, "no place for the entries");
        }
        standins::archive::Win32FileSource source(WidePath(archivePath));
        standins::archive::ArchivePassword secret = CallPassword(password, passwordCallback);
        const standins::archive::SevenZipArchive archive(source, &secret);
        auto session = std::make_unique<ListSession>();
        session->names = AnsiNames(archive);
        const auto& items = archive.Items();
        session->entries.resize(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto& item = items[i];
            ArchiveEntry& entry = session->entries[i];
            entry = ArchiveEntry{};
            entry.name = session->names[i].c_str();
            entry.size = item.size;
            entry.packedSize = item.packedSize;
            entry.crc = item.crc.value_or(0);
            entry.flags = (item.isFolder ? kArchiveEntryFolder : 0) |
                          (item.crc ? kArchiveEntryHasCrc : 0) |
                          (item.modified ? kArchiveEntryHasTime : 0);
            const std::uint64_t time = item.modified.value_or(0);
            entry.time = FILETIME{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
            entry.attributes = static_cast<std::int32_t>(item.attributes);
            entry.index = static_cast<std::uint32_t>(i);
        }
        *entries = session->entries.empty() ? nullptr : session->entries.data();
        *entryCount = static_cast<std::int32_t>(session->entries.size());
        std::lock_guard lock(g_sessionsLock);
        return *g_sessions.insert(session.release()).first;
    } catch (const ArchiveError& failure) {
        Fail(failure.Code());
    } catch (...) {
        Fail(ErrorCode::General);
    }
    return nullptr;
}

extern "C" std::int32_t __stdcall CloseListArchive(ArchiveHandle handle)
{
    std::unique_ptr<ListSession> session;
    {
        std::lock_guard lock(g_sessionsLock);
        const auto found = g_sessions.find(static_cast<ListSession*>(handle));
        if (found == g_sessions.end()) {
            Fail(ErrorCode::BadArgument);
            return 0;
        }
        session.reset(*found);
        g_sessions.erase(found);
    }
    return 1;
}

extern "C" std::int32_t __stdcall ExtractArchive(
    const char* archivePath, std::int32_t, const char* targetFolder, TSZW_TARGETFILES* targetFiles,
    std::int32_t mode, const char* password, ArchivePasswordCallback passwordCallback,
    ArchiveProgressCallback progressCallback, ArchiveNotifyCallback notifyCallback,
    ArchiveQueryCallback queryCallback)
{
    try {
        if (mode != kArchiveModeFullPaths && mode != kArchiveModeNoPaths) {
            throw ArchiveError(ErrorCode::BadArgument, "unknown mode");
        }
        standins::archive::Win32FileSource source(WidePath(archivePath));
        standins::archive::ArchivePassword secret = CallPassword(password, passwordCallback);
        const standins::archive::SevenZipArchive archive(source, &secret);
        const std::vector<std::string> names = AnsiNames(archive);
        std::vector<bool> selected(names.size(), true);
        if (targetFiles != nullptr &&
            standins::archive::SelectEntries(names, WantedNames(*targetFiles), selected) !=
                std::string::npos) {
            throw ArchiveError(ErrorCode::EntryMissing, "a listed entry is not in the archive");
        }
        standins::archive::Win32ExtractTarget target(WidePath(targetFolder));
        CallbackEvents events(names, progressCallback, notifyCallback, queryCallback);
        standins::archive::ExtractEntries(archive, selected,
                                          mode == kArchiveModeFullPaths
                                              ? standins::archive::PathMode::KeepFolders
                                              : standins::archive::PathMode::NoFolders,
                                          target, events);
        return 1;
    } catch (const ArchiveError& failure) {
        Fail(failure.Code());
    } catch (...) {
        Fail(ErrorCode::General);
    }
    return 0;
}

extern "C" std::int32_t __stdcall GetLastArchiveError()
{
    return g_lastError;
}
