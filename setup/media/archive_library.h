// The binary interface of the archive library "qbr.lib" that ships beside the setup program: its
// four stdcall exports, the entry record it hands out, the target list and the callback forms.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace setup::media {

// Receives a zero-terminated password in the library's buffer of kArchivePasswordBufferSize bytes;
// 1 when it wrote one, 0 when it has none.
using ArchivePasswordCallback = int(__stdcall*)(char* buffer);
// Entry being written, bytes written so far and bytes to write in the whole extraction; nonzero to
// go on, 0 to stop (the extraction then fails).
using ArchiveProgressCallback = int(__stdcall*)(const char* entryName, std::uint64_t bytesDone,
                                                std::uint64_t bytesTotal);
// Entry index and entry count, before each entry is written; returns 1.
using ArchiveNotifyCallback = int(__stdcall*)(std::int32_t entryIndex, std::int32_t entryCount);
// Asked before an existing file is replaced: query kind (1), entry index, the entry's size and time
// and the existing file's size and time, each 64-bit value as low and high halves. 4 replaces the
// file; any other answer keeps the existing one.
using ArchiveQueryCallback = int(__stdcall*)(
    std::int32_t kind, std::int32_t entryIndex, std::uint32_t sizeLow, std::uint32_t sizeHigh,
    std::uint32_t timeLow, std::uint32_t timeHigh, std::uint32_t existingSizeLow,
    std::uint32_t existingSizeHigh, std::uint32_t existingTimeLow, std::uint32_t existingTimeHigh);

inline constexpr std::size_t kArchivePasswordBufferSize = 256;
inline constexpr int kArchiveQueryReplace = 1;
inline constexpr int kArchiveAnswerKeep = 1;
inline constexpr int kArchiveAnswerReplace = 4;

// ExtractArchive's mode: 0 keeps the folders stored in the archive, 1 writes every file straight
// into the target folder under its bare name.
inline constexpr std::int32_t kArchiveModeFullPaths = 0;
inline constexpr std::int32_t kArchiveModeNoPaths = 1;

// Codes of GetLastArchiveError. 1001-1003 are the ones callers put into words.
inline constexpr std::int32_t kArchiveErrorNone = 0;
inline constexpr std::int32_t kArchiveErrorGeneral = 1000;
inline constexpr std::int32_t kArchiveErrorNotFound = 1001;
inline constexpr std::int32_t kArchiveErrorIllegalPath = 1002;
inline constexpr std::int32_t kArchiveErrorCannotOpen = 1003;
inline constexpr std::int32_t kArchiveErrorEntryMissing = 1004;
inline constexpr std::int32_t kArchiveErrorDataCorrupt = 1005;
inline constexpr std::int32_t kArchiveErrorCancelled = 1006;
inline constexpr std::int32_t kArchiveErrorWriteFailed = 1007;
inline constexpr std::int32_t kArchiveErrorBadArgument = 1008;

// One entry of an opened archive, 48 bytes on both bitnesses. On i686 the name pointer is followed
// by four unused bytes; on x86_64 the 8-byte pointer fills both, so every later field keeps its
// offset.
struct ArchiveEntry
{
    const char* name;  // path inside the archive, folders separated by backslashes
#if INTPTR_MAX == INT32_MAX
    std::uint32_t reserved;
#endif
    std::uint64_t size;        // bytes of the entry's data
    std::uint64_t packedSize;  // packed bytes of its block, on the block's first entry; else 0
    std::uint32_t crc;         // CRC-32 of the data, when flags has kArchiveEntryHasCrc
    std::uint32_t flags;
    FILETIME time;            // last write time, UTC
    std::int32_t attributes;  // Windows file attributes
    std::uint32_t index;      // position in the archive's entry list
};

inline constexpr std::uint32_t kArchiveEntryFolder = 1;
inline constexpr std::uint32_t kArchiveEntryHasCrc = 2;
inline constexpr std::uint32_t kArchiveEntryHasTime = 4;

static_assert(sizeof(ArchiveEntry) == 48);
static_assert(offsetof(ArchiveEntry, size) == 8);
static_assert(offsetof(ArchiveEntry, packedSize) == 16);
static_assert(offsetof(ArchiveEntry, time) == 32);
static_assert(offsetof(ArchiveEntry, attributes) == 40);
#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(void*) == 4 && offsetof(ArchiveEntry, reserved) == 4);
#endif

// The entries to extract: zero-terminated names, then their count.
struct TSZW_TARGETFILES
{
    char** names;
    std::uint32_t count;
};

using ArchiveHandle = void*;

}  // namespace setup::media

// The library itself defines these without the import attribute.
#ifndef QBR_ARCHIVE_API
#define QBR_ARCHIVE_API __declspec(dllimport)
#endif

extern "C" {
QBR_ARCHIVE_API setup::media::ArchiveHandle __stdcall OpenListArchive(
    const char* archivePath, std::int32_t reserved1,
    setup::media::ArchivePasswordCallback passwordCallback, std::int32_t reserved2,
    std::int32_t reserved3, std::int32_t reserved4, const char* password,
    setup::media::ArchiveEntry** entries, std::int32_t* entryCount);
QBR_ARCHIVE_API std::int32_t __stdcall ExtractArchive(
    const char* archivePath, std::int32_t reserved, const char* targetFolder,
    setup::media::TSZW_TARGETFILES* targetFiles, std::int32_t mode, const char* password,
    setup::media::ArchivePasswordCallback passwordCallback,
    setup::media::ArchiveProgressCallback progressCallback,
    setup::media::ArchiveNotifyCallback notifyCallback,
    setup::media::ArchiveQueryCallback queryCallback);
QBR_ARCHIVE_API std::int32_t __stdcall CloseListArchive(setup::media::ArchiveHandle handle);
QBR_ARCHIVE_API std::int32_t __stdcall GetLastArchiveError();
}
