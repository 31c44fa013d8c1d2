#include "setup/ui/capture_win32.h"

#include <windows.h>

#include <fstream>

#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/htmlview/images/png_writer.h"
#include "setup/ui/window_peer_win32.h"

namespace setup::ui {
namespace {

// The screen keeps what windows drew only once they painted: paint everything now.
void Repaint(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    ::GdiFlush();
}

}  // namespace

htmlview::PixelImage CaptureForm(TCustomForm& form)
{
    HWND window = WindowOf(form);
    if (!window || !::IsWindowVisible(window))
        throw rtl::Exception("Form '" + form.Name() + "' is not on the screen");
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return CaptureWindow(reinterpret_cast<std::uintptr_t>(window));
}

htmlview::PixelImage CaptureWindow(std::uintptr_t handle)
{
    const HWND window = reinterpret_cast<HWND>(handle);
    Repaint(window);
    RECT r;
    ::GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;

    HDC screen = ::GetDC(nullptr);
    core::UniqueMemoryDc memory(::CreateCompatibleDC(screen));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    core::UniqueGdiObject bitmap(
        ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        ::ReleaseDC(nullptr, screen);
        throw rtl::Exception("No bitmap for a picture of the window");
    }
    HGDIOBJ old = ::SelectObject(memory.Get(), bitmap.Get());
    ::BitBlt(memory.Get(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    ::SelectObject(memory.Get(), old);
    ::ReleaseDC(nullptr, screen);

    htmlview::PixelImage image;
    image.Allocate(width, height, 24, static_cast<std::uint64_t>(width) * height * 4 + 1024);
    const auto* source = static_cast<const std::uint8_t*>(bits);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = source + static_cast<std::size_t>(y) * width * 4;
        std::uint8_t* to = image.Row(y);
        for (int x = 0; x < width; ++x) {
            to[3 * x] = from[4 * x];
            to[3 * x + 1] = from[4 * x + 1];
            to[3 * x + 2] = from[4 * x + 2];
        }
    }
    return image;
}

TPoint ClientOffsetInCapture(TCustomForm& form)
{
    HWND window = WindowOf(form);
    RECT r;
    ::GetWindowRect(window, &r);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    return {origin.x - r.left, origin.y - r.top};
}

void SavePngFile(const htmlview::PixelImage& image, const std::string& path)
{
    const std::vector<std::uint8_t> png = htmlview::SavePng(image);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out)
        throw rtl::Exception("Cannot write " + path);
}

}  // namespace setup::ui
