// Filewipe: a small folder tree shredded through VNTShredFile, with the progress and the per-file
// results the engine reports, and a file beside the tree that must survive.
#include <string>
#include <vector>

#include "core/cstring_abi.h"
#include "demo/captured_output.h"
#include "demo/demo_library.h"
#include "shred/engine/shred_types.h"

namespace demo {
namespace {

using ShredFileFn = int(__stdcall*)(const wchar_t*, int, void*, void**, char*,
                                    shred::ShredProgressCallback, shred::ShredFileDoneCallback,
                                    int);

// One object the engine finished, with what its progress said about it.
struct ShreddedObject
{
    std::wstring path;
    bool folder = false;
    int result = 0;
    int passes = 0;
    std::uint64_t size = 0;
};

struct ShredReport
{
    int progressCalls = 0;
    int passes = 0;
    std::uint64_t size = 0;
    std::vector<ShreddedObject> objects;
};

void __stdcall OnProgress(void* ctx, int, int, int, int passCount, std::uint64_t, void**, float,
                          std::uint64_t fileSize)
{
    auto* report = static_cast<ShredReport*>(ctx);
    ++report->progressCalls;
    report->passes = passCount;
    report->size = fileSize;
}

void __stdcall OnFileDone(void* ctx, core::CStringW path, int kind, int result)
{
    // The engine hands over one reference; the receiver releases it.
    core::CStringHolder text = core::CStringHolder::Adopt(path);
    auto* report = static_cast<ShredReport*>(ctx);
    ShreddedObject object;
    object.path = std::wstring(text.View());
    object.folder = kind == shred::kDoneKindFolder;
    object.result = result;
    if (!object.folder) {
        object.passes = report->passes;
        object.size = report->size;
    }
    report->objects.push_back(object);
}

// The engine prints "milliseconds;MiB per second" for each object it finishes, just before it
// reports the object done; the n-th line belongs to the n-th object. Column 0 is the time, 1 the
// rate.
std::string EngineFigure(const std::vector<std::string>& lines, std::size_t index, int column)
{
    if (index >= lines.size())
        return "-";
    const std::string& line = lines[index];
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos)
        return column == 0 ? line : "-";
    return column == 0 ? line.substr(0, semicolon) : line.substr(semicolon + 1);
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
        std::printf("  VNTWipeSpecifiedFileSlack      %d  %ls\n", slack, name + 1);
        slackOk = slackOk && slack == 1;
    }

    // Algorithm 2, with no pause event and no abort flag: the engine makes its own event.
    ShredReport report;
    CapturedOutput engineOutput;
    const int result =
        shredFile(tree.c_str(), 2, &report, nullptr, nullptr, OnProgress, OnFileDone, 0);
    const std::vector<std::string> timings = engineOutput.Stop();
    std::printf("  VNTShredFile, algorithm 2      %d (%s), %d progress calls\n", result,
                result == -100 ? "success" : "failure", report.progressCalls);
    std::printf("    %-7s %6s %8s %10s %9s %7s  %s\n", "object", "passes", "bytes", "time (ms)",
                "MiB/s", "result", "path");
    for (std::size_t i = 0; i < report.objects.size(); ++i) {
        const ShreddedObject& object = report.objects[i];
        const std::wstring shown = object.path.rfind(root, 0) == 0
                                       ? object.path.substr(root.size() + 1)
                                       : object.path;
        std::printf("    %-7s %6s %8s %10s %9s %7d  %ls\n", object.folder ? "folder" : "file",
                    object.folder ? "-" : std::to_string(object.passes).c_str(),
                    object.folder ? "-" : std::to_string(object.size).c_str(),
                    EngineFigure(timings, i, 0).c_str(), EngineFigure(timings, i, 1).c_str(),
                    object.result, shown.c_str());
    }
    const bool gone = !Exists(tree);
    const bool kept = Exists(canary);
    std::printf("  tree removed                   %s\n", gone ? "yes" : "NO");
    std::printf("  file beside it kept            %s\n", kept ? "yes" : "NO");
    ::DeleteFileW(canary.c_str());
    ::RemoveDirectoryW(root.c_str());
    return slackOk && result == -100 && gone && kept;
}

}  // namespace demo
