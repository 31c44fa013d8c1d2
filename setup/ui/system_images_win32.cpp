#include "setup/ui/system_images_win32.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <initializer_list>

namespace setup::ui {
namespace {

HIMAGELIST ShellImageList(bool small)
{
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info),
                         SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON)));
}

// Older common controls draw no overlays from these lists; Windows 9x's shell sets its own. A
// shell with lists of more sizes (it offers them through SHGetImageList) sets its own overlays
// and keeps its lists' indexes in step: an icon added to two of them alone would shift every icon
// it adds later.
bool OverlaysWanted()
{
    if (HMODULE shell = ::GetModuleHandleA("shell32.dll");
        shell && ::GetProcAddress(shell, "SHGetImageList"))
        return false;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return false;
#pragma GCC diagnostic pop
    return CommonControlsVersion() > 470;
}

// The shell's shared-folder hand (icon 29) and shortcut arrow (icon 30) as overlays 1 and 2.
void InstallOverlayIcons()
{
    HMODULE shell = ::LoadLibraryA("shell32.dll");
    if (!shell)
        return;
    constexpr int kIcons[] = {29, 30};
    for (const bool small : {true, false}) {
        HIMAGELIST list = ShellImageList(small);
        const int size = small ? 16 : 32;
        for (int overlay = 0; list && overlay < 2; ++overlay) {
            auto icon = static_cast<HICON>(::LoadImageA(shell, MAKEINTRESOURCEA(kIcons[overlay]),
                                                        IMAGE_ICON, size, size, 0));
            if (!icon)
                continue;
            const int index = ::ImageList_ReplaceIcon(list, -1, icon);
            ::DestroyIcon(icon);
            if (index >= 0)
                ::ImageList_SetOverlayImage(list, index, overlay + 1);
        }
    }
    ::FreeLibrary(shell);
}

}  // namespace

int CommonControlsVersion()
{
    static const int version = [] {
        HMODULE module = ::GetModuleHandleA("comctl32.dll");
        auto get = module ? reinterpret_cast<DLLGETVERSIONPROC>(
                                reinterpret_cast<void*>(::GetProcAddress(module, "DllGetVersion")))
                          : nullptr;
        DLLVERSIONINFO info{};
        info.cbSize = sizeof(info);
        if (!get || FAILED(get(&info)))
            return 400;
        return static_cast<int>(info.dwMajorVersion * 100 + info.dwMinorVersion);
    }();
    return version;
}

HIMAGELIST SystemImages(bool small)
{
    static const bool installed = [] {
        if (OverlaysWanted())
            InstallOverlayIcons();
        return true;
    }();
    (void)installed;
    return ShellImageList(small);
}

}  // namespace setup::ui
