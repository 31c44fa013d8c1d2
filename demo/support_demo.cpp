// Lingotext and Setupaid: texts by key through both string forms, bitmap ids, and the process
// count.
#include "core/cstring_abi.h"
#include "demo/demo_library.h"

#include <string>

namespace demo {

bool RunLanguageDemo()
{
    DemoLibrary library(L"Lingotext_DE.dll");
    if (!library.Loaded())
        return false;
    auto byKey = library.Bind<core::CStringW(WINAPI*)(int, core::CStringW)>("GetStringByString");
    auto byKeyW = library.Bind<wchar_t*(WINAPI*)(int, const wchar_t*)>("GetStringByStringW");
    auto bitmapId = library.Bind<int(WINAPI*)(int, core::CStringW)>("GetBitmapId");
    if (!byKey || !byKeyW || !bitmapId) {
        std::printf("  an export is missing\n");
        return false;
    }
    bool ok = true;
    for (const wchar_t* key :
         {L"Language", L"cancel-button", L"SHRED_DIALOG_SHRED_FREE_SPACE_DRIVES_FREE_SPACE"}) {
        // The library releases the key it is handed; the caller releases the text it gets back.
        core::CStringHolder keyText(key);
        core::CStringHolder text = core::CStringHolder::Adopt(byKey(1, keyText.Share()));
        std::printf("  %-48ls %ls\n", key, std::wstring(text.View()).c_str());
        ok = ok && !text.View().empty();
    }
    std::printf("  %-48ls %ls\n", L"OK-button (exact key)", byKeyW(1, L"OK-button"));
    core::CStringHolder bitmapName(L"shred_recycle_bin");
    std::printf("  %-48s %d\n", "bitmap shred_recycle_bin", bitmapId(1, bitmapName.Share()));
    return ok;
}

bool RunProcessDemo()
{
    DemoLibrary library(L"Setupaid.dll");
    if (!library.Loaded())
        return false;
    auto instances = library.Bind<int(WINAPI*)(const char*)>("VNTNrInstances");
    if (!instances) {
        std::printf("  an export is missing\n");
        return false;
    }
    const int running = instances("SUITE_DEMO.EXE");
    std::printf("  %-30s %d\n", "running suite_demo.exe", running);
    std::printf("  %-30s %d\n", "running Wipestation.exe", instances("Wipestation.exe"));
    return running == 1;
}

}  // namespace demo
