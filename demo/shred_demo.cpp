// Filewipe: a small folder tree shredded through VNTShredFile, with the progress and the per-file
// results the engine reports, and a file beside the tree that must survive.
#include <string>

#include "core/cstring_abi.h"
#include "demo/demo_library.h"
#include "shred/engine/shred_types.h"

namespace demo {
namespace {

using ShredFileFn = int(__stdcall*)(const wchar_t*, int, void*, void**, char*,
                                    shred::ShredProgressCallback, shred::ShredFileDoneCallback,
                                    int);

struct ShredReport
{
    int lastFileIndex = -1;
    int progressCalls = 0;
};

void __stdcall OnProgress(void* ctx, int percent, int fileIndex, int fileCount, int passCount,
                          std::uint64_t bytesDone, void**, float, std::uint64_t fileSize)
{
    auto* report = static_cast<ShredReport*>(ctx);
    ++report->progressCalls;
    if (fileIndex != report->lastFileIndex) {
        report->lastFileIndex = fileIndex;
        std::printf("  progress: file %d of %d, %d passes, %llu bytes\n", fileIndex, fileCount,
                    passCount, static_cast<unsigned long long>(fileSize));
    }
}

void __stdcall OnFileDone(void*, core::CStringW path, int kind, int result)
{
    // The engine hands over one reference; the receiver releases it.
    core::CStringHolder text = core::CStringHolder::Adopt(path);
    std::printf("  done: %-6s %d  %ls\n", kind == shred::kDoneKindFolder ? "folder" : "file",
                result, std::wstring(text.View()).c_str());
}

bool WriteSample(const std::wstring& path, size_t size)
{
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes(size, 'S');
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool RunShredDemo()
{
    std::printf("Volumewipe and Filewipe\n");
    DemoLibrary library(L"Filewipe.dll");
    if (!library.Loaded())
        return false;
    auto shredFile = library.Bind<ShredFileFn>("VNTShredFile");
    if (!shredFile) {
        std::printf("  an export is missing\n");
        return false;
    }

    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"suite-demo";
    const std::wstring tree = root + L"\\secrets";
    const std::wstring canary = root + L"\\keep-me.txt";
    ::CreateDirectoryW(root.c_str(), nullptr);
    ::CreateDirectoryW(tree.c_str(), nullptr);
    ::CreateDirectoryW((tree + L"\\letters").c_str(), nullptr);
    const bool made = WriteSample(tree + L"\\notes.txt", 1000) &&
                      WriteSample(tree + L"\\letters\\draft.doc", 150000) &&
                      WriteSample(canary, 10);
    if (!made) {
        std::printf("  could not write the sample tree\n");
        return false;
    }

    // Volumewipe first wipes the slack behind each sample file's end, leaving the files as they
    // were.
    DemoLibrary volumewipe(L"Volumewipe.dll");
    auto wipeSlack = volumewipe.Bind<int(__stdcall*)(const wchar_t*, int)>(
        "?VNTWipeSpecifiedFileSlack@@YAHPEA_WH@Z");
    if (!wipeSlack) {
        std::printf("  Volumewipe's slack wiper is missing\n");
        return false;
    }
    bool slackOk = true;
    for (const wchar_t* name : {L"\\notes.txt", L"\\letters\\draft.doc"}) {
        const int slack = wipeSlack((tree + name).c_str(), 0);
        std::printf("  VNTWipeSpecifiedFileSlack   %d  %ls\n", slack, name + 1);
        slackOk = slackOk && slack == 1;
    }

    // Algorithm 2, with no pause event and no abort flag: the engine makes its own event.
    ShredReport report;
    const int result =
        shredFile(tree.c_str(), 2, &report, nullptr, nullptr, OnProgress, OnFileDone, 0);
    const bool gone = !Exists(tree);
    const bool kept = Exists(canary);
    std::printf("  VNTShredFile                %d (%s), %d progress calls\n", result,
                result == -100 ? "success" : "failure", report.progressCalls);
    std::printf("  tree removed                %s\n", gone ? "yes" : "NO");
    std::printf("  file beside it kept         %s\n", kept ? "yes" : "NO");
    ::DeleteFileW(canary.c_str());
    ::RemoveDirectoryW(root.c_str());
    return slackOk && result == -100 && gone && kept;
}

}  // namespace demo
