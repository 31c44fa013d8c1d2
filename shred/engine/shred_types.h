// Result codes, callback types and the per-deliverable variant that the shred engine shares with
// the three shredding libraries that link it.
#pragma once

#include "core/cstring_abi.h"

#include <cstdint>

#if defined(_WIN32)
#define SHRED_CALLBACK __stdcall
#else
#define SHRED_CALLBACK
#endif

namespace shred {

// Results of the engine: -100 success, negative failures.
using ShredResult = int;
inline constexpr ShredResult kShredDone = -100;
inline constexpr ShredResult kShredNotFound = -1;  // also: an object could not be opened or written
inline constexpr ShredResult kShredRefused = -2;
inline constexpr ShredResult kShredRenameFailed = -3;
inline constexpr ShredResult kShredRemoveFailed = -4;
inline constexpr ShredResult kShredFolderFailed = -5;
inline constexpr ShredResult kShredAborted = -6;
inline constexpr ShredResult kShredNoPauseEvent = -10;

// The caller's progress callback; bytesDone and fileSize travel by value (low half first on i686).
using ShredProgressCallback = void(SHRED_CALLBACK*)(void* ctx, int percent, int fileIndex,
                                                    int fileCount, int passCount,
                                                    std::uint64_t bytesDone, void** pauseEvent,
                                                    float megabytesPerSecond,
                                                    std::uint64_t fileSize);

// The caller's file-done callback. The path is a reference-counted string passed by value: the
// callee receives its own reference and releases it.
using ShredFileDoneCallback = void(SHRED_CALLBACK*)(void* ctx, core::CStringW path, int kind,
                                                    int result);
inline constexpr int kDoneKindFile = 10;  // a file or a pattern match
inline constexpr int kDoneKindFolder = 20;

// What differs between Volumewipe, Filewipe and Snapwipe. One engine reads these values; the
// record layouts are the two run types of algorithm.h (_OW_RUN and SnapOwRun), and the message
// table is linked only into the library that carries it (shred_engine_messages).
struct ShredVariant
{
    const char* name;
    bool allowsExtendedAlgorithms;  // ids 100-103
    bool printsAlgorithmRefusal;    // "Could not retrieve algorithm %d\n"
    bool printsEntryLines;          // "VNTShredFile\n" and "VNTShredFile -2\n"
    bool printsTiming;              // "%f;%f\n" after every object
    bool shredsNamedStreams;        // overwrite and delete named streams before the main stream
    bool opensNotContentIndexed;    // overwrite opens add FILE_ATTRIBUTE_NOT_CONTENT_INDEXED
    bool hasEventLog;               // reads "EventLog", registers the source, writes records
    const wchar_t* shredCharKey;    // under HKEY_LOCAL_MACHINE, value "ShredChar"
    int missingPathCount = 0;       // the target count of a path that matches nothing
};

inline constexpr ShredVariant kVolumewipe{
    .name = "Volumewipe",
    .allowsExtendedAlgorithms = true,
    .printsAlgorithmRefusal = true,
    .printsEntryLines = true,
    .printsTiming = true,
    .shredsNamedStreams = true,
    .opensNotContentIndexed = true,
    .hasEventLog = true,
    .shredCharKey = L"Software\\Vontar Security\\Filewipe\\Settings",
};
inline constexpr ShredVariant kFilewipe{
    .name = "Filewipe",
    .allowsExtendedAlgorithms = true,
    .printsAlgorithmRefusal = false,
    .printsEntryLines = false,
    .printsTiming = true,
    .shredsNamedStreams = true,
    .opensNotContentIndexed = true,
    .hasEventLog = true,
    .shredCharKey = L"Software\\Vontar Security\\Filewipe\\Settings",
    .missingPathCount = 1,
};
inline constexpr ShredVariant kSnapwipe{
    .name = "Snapwipe",
    .allowsExtendedAlgorithms = false,
    .printsAlgorithmRefusal = false,
    .printsEntryLines = false,
    .printsTiming = false,
    .shredsNamedStreams = false,
    .opensNotContentIndexed = false,
    .hasEventLog = false,
    .shredCharKey = L"Software\\Vontar Security\\Filewype\\Settings",
    .missingPathCount = 1,
};

}  // namespace shred
