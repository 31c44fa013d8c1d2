#include "setup/ui/tray/tray_platform_win32.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "setup/ui/tray/ico_directory.h"
#include "setup/ui/tray/tray_icon.h"
#include "setup/ui/tray/sx_tray_icon.h"

namespace setup::ui::tray {

namespace {

constexpr const char* kHiddenWindowClass = "TrayIconWindow";

struct HiddenWindowState
{
    TrayWindowProcedure procedure;
    UINT taskbarCreated;
};

LRESULT CALLBACK HiddenWindowProcedure(HWND window, UINT message, WPARAM first, LPARAM second)
{
    auto* state = reinterpret_cast<HiddenWindowState*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    const bool ours = message == WM_QUERYENDSESSION || message == WM_ENDSESSION ||
                      message == kTrayCallbackMessage || message == kSxTrayCallbackMessage ||
                      (state && message == state->taskbarCreated);
    if (state && ours && state->procedure)
        return state->procedure(message, first, second);
    return ::DefWindowProcA(window, message, first, second);
}

void CopyText(char* field, std::size_t fieldChars, const std::string& text)
{
    const std::string cut = CutToField(text, fieldChars);
    std::memcpy(field, cut.c_str(), cut.size() + 1);
}

}  // namespace

NOTIFYICONDATAA ToShellRecord(const NotifyIconData& data)
{
    NOTIFYICONDATAA record{};
    // The balloon fields and nothing later: the size older shells know, right for this bitness.
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    static_assert(NOTIFYICONDATAA_V2_SIZE == (sizeof(void*) == 8 ? 504 : 488));
    record.hWnd = reinterpret_cast<HWND>(data.window);
    record.uID = data.id;
    record.uFlags = data.flags;
    record.uCallbackMessage = data.callbackMessage;
    record.hIcon = reinterpret_cast<HICON>(data.icon);
    CopyText(record.szTip, sizeof(record.szTip), data.tip);
    CopyText(record.szInfo, sizeof(record.szInfo), data.info);
    CopyText(record.szInfoTitle, sizeof(record.szInfoTitle), data.infoTitle);
    record.uTimeout = data.timeout;
    record.dwInfoFlags = data.infoFlags;
    return record;
}

Win32TrayPlatform::Win32TrayPlatform()
    : m_taskbarCreated(::RegisterWindowMessageA("TaskbarCreated")),
      m_version(Win32WindowsVersion())
{
    WNDCLASSEXA type{};
    type.cbSize = sizeof(type);
    type.lpfnWndProc = HiddenWindowProcedure;
    type.hInstance = ::GetModuleHandleA(nullptr);
    type.lpszClassName = kHiddenWindowClass;
    ::RegisterClassExA(&type);
}

Win32TrayPlatform::~Win32TrayPlatform()
{
    m_balloons.CloseBalloon(true);
}

bool Win32TrayPlatform::NotifyShell(NotifyMessage message, const NotifyIconData& data)
{
    NOTIFYICONDATAA record = ToShellRecord(data);
    return ::Shell_NotifyIconA(message, &record) != FALSE;
}

std::uintptr_t Win32TrayPlatform::CreateHiddenWindow(TrayWindowProcedure procedure)
{
    const HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, kHiddenWindowClass, "", WS_POPUP, 0, 0,
                                          0, 0, nullptr, nullptr, ::GetModuleHandleA(nullptr),
                                          nullptr);
    if (!window)
        return 0;
    auto* state = new HiddenWindowState{std::move(procedure), m_taskbarCreated};
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    return reinterpret_cast<std::uintptr_t>(window);
}

void Win32TrayPlatform::DestroyHiddenWindow(std::uintptr_t window)
{
    const HWND handle = reinterpret_cast<HWND>(window);
    auto* state = reinterpret_cast<HiddenWindowState*>(::GetWindowLongPtrA(handle, GWLP_USERDATA));
    ::SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
    delete state;
    ::DestroyWindow(handle);
}

std::uintptr_t Win32TrayPlatform::IconFromFile(const std::string& icoFile)
{
    const int side = ::GetSystemMetrics(SM_CXSMICON);
    const auto image = PickIcoImage(icoFile, side);
    if (!image)
        return 0;
    auto* bytes = reinterpret_cast<BYTE*>(const_cast<char*>(icoFile.data() + image->offset));
    return reinterpret_cast<std::uintptr_t>(::CreateIconFromResourceEx(
        bytes, static_cast<DWORD>(image->size), TRUE, 0x00030000, side, side, LR_DEFAULTCOLOR));
}

std::uintptr_t Win32TrayPlatform::IconFromPixels(const htmlview::PixelImage& pixels)
{
    if (pixels.width <= 0 || pixels.height <= 0)
        return 0;
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = pixels.width;
    header.bV5Height = -pixels.height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_RGB;
    void* bits = nullptr;
    const HDC screen = ::GetDC(nullptr);
    const HBITMAP color = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                             DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (!color)
        return 0;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) {
            const htmlview::Rgb rgb = pixels.ColorAt(x, y);
            out[y * pixels.width + x] =
                0xFF000000u | (rgb.red << 16) | (rgb.green << 8) | rgb.blue;
        }
    std::vector<std::uint8_t> maskBits(((pixels.width + 15) / 16) * 2 * pixels.height, 0);
    const HBITMAP mask = ::CreateBitmap(pixels.width, pixels.height, 1, 1, maskBits.data());
    ICONINFO info{TRUE, 0, 0, mask, color};
    const HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(mask);
    ::DeleteObject(color);
    return reinterpret_cast<std::uintptr_t>(icon);
}

std::uintptr_t Win32TrayPlatform::ApplicationIcon()
{
    const HINSTANCE module = ::GetModuleHandleA(nullptr);
    HICON icon = ::LoadIconA(module, "MAINICON");
    if (!icon)
        icon = ::LoadIconA(module, MAKEINTRESOURCEA(1));
    if (!icon)
        icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    return reinterpret_cast<std::uintptr_t>(icon);
}

void Win32TrayPlatform::DestroyIcon(std::uintptr_t icon)
{
    if (icon)
        ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

TShiftState Win32TrayPlatform::KeyboardShift()
{
    TShiftState shift;
    if (::GetKeyState(VK_SHIFT) < 0)
        shift.Include(ssShift);
    if (::GetKeyState(VK_MENU) < 0)
        shift.Include(ssAlt);
    if (::GetKeyState(VK_CONTROL) < 0)
        shift.Include(ssCtrl);
    return shift;
}

ScreenPoint Win32TrayPlatform::CursorPos()
{
    POINT at{};
    ::GetCursorPos(&at);
    return {at.x, at.y};
}

void Win32TrayPlatform::ForegroundApplication(std::uintptr_t window)
{
    ::SetForegroundWindow(reinterpret_cast<HWND>(window));
}

}  // namespace setup::ui::tray
