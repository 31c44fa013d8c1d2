#include "setup/ui/folder_watch_win32.h"

#include <windows.h>

#include <dbt.h>
#include <lm.h>

#include "setup/ui/change_watch_win32.h"

namespace setup::ui {

namespace {

constexpr UINT kChanged = WM_USER + 101;
constexpr wchar_t kWindowClass[] = L"SetupFolderWatch";

constexpr UINT kDeviceChanged = WM_USER + 100;

void Tell(HWND window, int slot)
{
    auto* changed =
        reinterpret_cast<std::function<void(int)>*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (changed && *changed)
        (*changed)(slot);
}

LRESULT CALLBACK WatchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case kChanged:
            Tell(window, static_cast<int>(wParam));
            return 0;
        case WM_DEVICECHANGE:
            // Answered at once and handled later: the sender waits for the answer.
            if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)
                ::PostMessageW(window, kDeviceChanged, wParam, 0);
            return TRUE;
        case kDeviceChanged:
            Tell(window, kDrivesChanged);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND MakeWatchWindow()
{
    static const ATOM registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WatchWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kWindowClass;
        return ::RegisterClassW(&windowClass);
    }();
    if (!registered)
        return nullptr;
    // A hidden top-level window, not a message-only one: device changes are broadcast to
    // top-level windows alone.
    return ::CreateWindowW(kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

class Win32FolderWatch final : public IFolderWatch
{
public:
    explicit Win32FolderWatch(std::function<void(int)> changed)
        : m_changed(std::move(changed)), m_window(MakeWatchWindow())
    {
        if (!m_window)
            return;
        ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_changed));
        m_thread = std::make_unique<ChangeWatchThread>(m_window, kChanged);
    }
    ~Win32FolderWatch() override
    {
        // The worker first, so nothing posts to a window that is gone; what it posted dies with
        // the window.
        m_thread.reset();
        if (m_window)
            ::DestroyWindow(m_window);
    }
    Win32FolderWatch(const Win32FolderWatch&) = delete;
    Win32FolderWatch& operator=(const Win32FolderWatch&) = delete;

    int AddWatch(const std::string& path, std::uint32_t filter, bool subtree) override
    {
        return m_thread ? m_thread->AddWatch(path, filter, subtree) : -1;
    }
    void RemoveAllWatches() override
    {
        if (m_thread)
            m_thread->RemoveAllWatches();
    }

private:
    std::function<void(int)> m_changed;
    HWND m_window;
    std::unique_ptr<ChangeWatchThread> m_thread;
};

// A network drive's connection; true when the network library cannot tell.
bool NetworkDriveConnected(char letter)
{
    using GetInfo = NET_API_STATUS(WINAPI*)(LMSTR, LMSTR, DWORD, LPBYTE*);
    using FreeBuffer = NET_API_STATUS(WINAPI*)(LPVOID);
    struct Library
    {
        GetInfo getInfo = nullptr;
        FreeBuffer freeBuffer = nullptr;
    };
    // Loaded once for the process and kept.
    static const Library library = [] {
        Library loaded;
        if (HMODULE module = ::LoadLibraryW(L"netapi32.dll")) {
            loaded.getInfo = reinterpret_cast<GetInfo>(::GetProcAddress(module, "NetUseGetInfo"));
            loaded.freeBuffer =
                reinterpret_cast<FreeBuffer>(::GetProcAddress(module, "NetApiBufferFree"));
        }
        return loaded;
    }();
    if (!library.getInfo || !library.freeBuffer)
        return true;
    wchar_t name[] = {static_cast<wchar_t>(letter), L':', 0};
    LPBYTE buffer = nullptr;
    const NET_API_STATUS status = library.getInfo(nullptr, name, 1, &buffer);
    bool connected = false;
    if (status == NERR_Success && buffer)
        connected = reinterpret_cast<USE_INFO_1*>(buffer)->ui1_status == USE_OK;
    if (buffer)
        library.freeBuffer(buffer);
    return connected;
}

DriveKind KindOf(UINT type)
{
    switch (type) {
        case DRIVE_REMOVABLE:
            return DriveKind::Removable;
        case DRIVE_FIXED:
            return DriveKind::Fixed;
        case DRIVE_REMOTE:
            return DriveKind::Remote;
        case DRIVE_CDROM:
            return DriveKind::CdRom;
        case DRIVE_RAMDISK:
            return DriveKind::RamDisk;
        default:
            return DriveKind::Other;
    }
}

}  // namespace

std::unique_ptr<IFolderWatch> Win32FolderWatchService::Watch(std::function<void(int slot)> changed)
{
    return std::make_unique<Win32FolderWatch>(std::move(changed));
}

std::vector<DriveRoot> Win32FolderWatchService::Drives()
{
    std::vector<DriveRoot> drives;
    const DWORD present = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(present & (1u << i)))
            continue;
        DriveRoot drive;
        drive.letter = static_cast<char>('A' + i);
        const char root[] = {drive.letter, ':', '\\', 0};
        drive.kind = KindOf(::GetDriveTypeA(root));
        drive.connected = drive.kind != DriveKind::Remote || NetworkDriveConnected(drive.letter);
        drives.push_back(drive);
    }
    return drives;
}

}  // namespace setup::ui
