#include "suite/update/picture_control_win32.h"

#include "suite/update/gif_frames.h"

#include <commctrl.h>
#include <objidl.h>

#include <cstring>

namespace update {
namespace {

constexpr UINT_PTR kSubclassId = 0x7108;

int PixelsPerInch(int axis)
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, axis);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

UniquePicture LoadSystemPicture(std::span<const std::uint8_t> data)
{
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, data.size());
    if (!memory)
        return nullptr;
    if (void* bytes = ::GlobalLock(memory)) {
        std::memcpy(bytes, data.data(), data.size());
        ::GlobalUnlock(memory);
    }
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        ::GlobalFree(memory);
        return nullptr;
    }
    IPicture* picture = nullptr;
    const HRESULT result = ::OleLoadPicture(stream, static_cast<LONG>(data.size()), FALSE,
                                            IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    return SUCCEEDED(result) ? UniquePicture(picture) : nullptr;
}

CPictureEx::CPictureEx() : m_stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CPictureEx::~CPictureEx()
{
    Stop();
    if (m_window)
        ::RemoveWindowSubclass(m_window, &CPictureEx::SubclassProcedure, kSubclassId);
    Unload();
}

bool CPictureEx::Attach(HWND control)
{
    m_window = control;
    return ::SetWindowSubclass(control, &CPictureEx::SubclassProcedure, kSubclassId,
                               reinterpret_cast<DWORD_PTR>(this));
}

void CPictureEx::Unload()
{
    Stop();
    std::lock_guard guard(m_drawing);
    m_picture.reset();
    m_frames.clear();
    m_isGif = false;
    m_size = {0, 0};
    if (m_offscreen && m_previousBitmap)
        ::SelectObject(m_offscreen.Get(), m_previousBitmap);
    if (m_saved && m_previousSaved)
        ::SelectObject(m_saved.Get(), m_previousSaved);
    m_offscreen.Reset();
    m_offscreenBitmap.Reset();
    m_saved.Reset();
    m_savedBitmap.Reset();
    m_previousBitmap = m_previousSaved = nullptr;
}

bool CPictureEx::Load(std::span<const std::uint8_t> data)
{
    Unload();
    m_background = RGB(255, 255, 255);
    if (!update::IsGif(data)) {
        m_picture = LoadSystemPicture(data);
        if (!m_picture)
            return false;
        OLE_XSIZE_HIMETRIC width = 0;
        OLE_YSIZE_HIMETRIC height = 0;
        m_picture->get_Width(&width);
        m_picture->get_Height(&height);
        m_size.cx =
            static_cast<LONG>(HimetricToPixels(width, PixelsPerInch(LOGPIXELSX)) * m_scale.x);
        m_size.cy =
            static_cast<LONG>(HimetricToPixels(height, PixelsPerInch(LOGPIXELSY)) * m_scale.y);
    } else {
        const auto screen = ReadGifScreen(data);
        std::vector<GifFrame> frames = ReadGifFrames(data);
        if (!screen || frames.empty())
            return false;
        m_isGif = true;
        if (screen->globalTableBytes)
            m_background = static_cast<COLORREF>(screen->background);
        m_size.cx = static_cast<LONG>(screen->width * m_scale.x);
        m_size.cy = static_cast<LONG>(screen->height * m_scale.y);
        if (frames.size() == 1) {
            m_picture = LoadSystemPicture(data);
            if (!m_picture)
                return false;
        } else {
            for (const GifFrame& frame : frames) {
                UniquePicture picture = LoadSystemPicture(frame.gif);
                if (picture)
                    m_frames.push_back({std::move(picture), frame.left, frame.top, frame.width,
                                        frame.height, frame.delay, frame.disposal});
            }
            if (m_frames.empty())
                return false;
        }
    }
    if (m_window)
        ::SetWindowPos(m_window, nullptr, 0, 0, m_size.cx, m_size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CreateOffscreen();
    return true;
}

bool CPictureEx::LoadFromResource(HMODULE module, int resourceId, const wchar_t* type)
{
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), type);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const std::uint8_t*>(::LockResource(loaded)) : nullptr;
    if (!bytes)
        return false;
    const std::span<const std::uint8_t> data(bytes, ::SizeofResource(module, found));
    if (type != RT_BITMAP)
        return Load(data);
    // A bitmap resource is a bitmap file without its file header, which the loader needs.
    if (data.size() < sizeof(BITMAPINFOHEADER))
        return false;
    BITMAPINFOHEADER info;
    std::memcpy(&info, data.data(), sizeof(info));
    const DWORD colours =
        info.biClrUsed ? info.biClrUsed : (info.biBitCount <= 8 ? 1u << info.biBitCount : 0);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfSize = static_cast<DWORD>(sizeof(file) + data.size());
    file.bfOffBits = static_cast<DWORD>(sizeof(file) + info.biSize + colours * sizeof(RGBQUAD) +
                                        (info.biCompression == BI_BITFIELDS ? 12 : 0));
    std::vector<std::uint8_t> whole(sizeof(file) + data.size());
    std::memcpy(whole.data(), &file, sizeof(file));
    std::memcpy(whole.data() + sizeof(file), data.data(), data.size());
    return Load(whole);
}

void CPictureEx::CreateOffscreen()
{
    std::lock_guard guard(m_drawing);
    HDC screen = ::GetDC(nullptr);
    m_offscreen.Reset(::CreateCompatibleDC(screen));
    m_offscreenBitmap.Reset(::CreateCompatibleBitmap(screen, m_size.cx, m_size.cy));
    m_saved.Reset(::CreateCompatibleDC(screen));
    m_savedBitmap.Reset(::CreateCompatibleBitmap(screen, m_size.cx, m_size.cy));
    ::ReleaseDC(nullptr, screen);
    m_previousBitmap = ::SelectObject(m_offscreen.Get(), m_offscreenBitmap.Get());
    m_previousSaved = ::SelectObject(m_saved.Get(), m_savedBitmap.Get());
    const RECT all{0, 0, m_size.cx, m_size.cy};
    HBRUSH brush = ::CreateSolidBrush(m_background);
    ::FillRect(m_offscreen.Get(), &all, brush);
    ::DeleteObject(brush);
}

void CPictureEx::Fill(const RECT& area, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(m_offscreen.Get(), &area, brush);
    ::DeleteObject(brush);
}

void CPictureEx::SetBackground(COLORREF colour)
{
    m_background = colour;
    std::lock_guard guard(m_drawing);
    if (m_offscreen)
        Fill({0, 0, m_size.cx, m_size.cy}, colour);
}

void CPictureEx::Render(IPicture* picture, int left, int top, int width, int height)
{
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    picture->Render(m_offscreen.Get(), left, top, width, height, 0, himetricHeight, himetricWidth,
                    -himetricHeight, nullptr);
}

void CPictureEx::Draw()
{
    if (IsAnimatedGif()) {
        if (!m_thread.joinable()) {
            m_stopRequested = false;
            ::ResetEvent(m_stopEvent.Get());
            m_thread = std::thread([this] { Animate(); });
        }
        return;
    }
    if (!m_picture)
        return;
    {
        std::lock_guard guard(m_drawing);
        Render(m_picture.get(), 0, 0, m_size.cx, m_size.cy);
    }
    if (m_window)
        ::InvalidateRect(m_window, nullptr, FALSE);
}

void CPictureEx::Animate()
{
    const Frame* previous = nullptr;
    RECT previousArea{};
    while (!m_stopRequested) {
        for (const Frame& frame : m_frames) {
            if (m_stopRequested)
                break;
            const RECT area{static_cast<LONG>(frame.left * m_scale.x),
                            static_cast<LONG>(frame.top * m_scale.y),
                            static_cast<LONG>((frame.left + frame.width) * m_scale.x),
                            static_cast<LONG>((frame.top + frame.height) * m_scale.y)};
            {
                std::lock_guard guard(m_drawing);
                if (previous && previous->disposal == 2)
                    Fill(previousArea, m_background);
                else if (previous && previous->disposal == 3)
                    ::BitBlt(m_offscreen.Get(), previousArea.left, previousArea.top,
                             previousArea.right - previousArea.left,
                             previousArea.bottom - previousArea.top, m_saved.Get(),
                             previousArea.left, previousArea.top, SRCCOPY);
                if (frame.disposal == 3)
                    ::BitBlt(m_saved.Get(), area.left, area.top, area.right - area.left,
                             area.bottom - area.top, m_offscreen.Get(), area.left, area.top,
                             SRCCOPY);
                Render(frame.picture.get(), area.left, area.top, area.right - area.left,
                       area.bottom - area.top);
            }
            if (m_window)
                ::InvalidateRect(m_window, nullptr, FALSE);
            previous = &frame;
            previousArea = area;
            if (::WaitForSingleObject(m_stopEvent.Get(), static_cast<DWORD>(FrameDelayMs(
                                                             frame.delay))) == WAIT_OBJECT_0)
                return;
        }
        std::lock_guard guard(m_drawing);
        Fill({0, 0, m_size.cx, m_size.cy}, m_background);
        previous = nullptr;
    }
}

void CPictureEx::Stop()
{
    if (!m_thread.joinable())
        return;
    m_stopRequested = true;
    ::SetEvent(m_stopEvent.Get());
    // The thread is told twice (flag and event) and ends within one frame's drawing.
    m_thread.join();
    ::ResetEvent(m_stopEvent.Get());
    m_stopRequested = false;
}

void CPictureEx::Paint(HDC dc)
{
    std::lock_guard guard(m_drawing);
    if (!m_offscreen)
        return;
    if (m_paintRect) {
        const RECT& r = *m_paintRect;
        ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, m_offscreen.Get(), r.left,
                 r.top, SRCCOPY);
    } else {
        ::BitBlt(dc, 0, 0, m_size.cx, m_size.cy, m_offscreen.Get(), 0, 0, SRCCOPY);
    }
}

LRESULT CALLBACK CPictureEx::SubclassProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR self) noexcept
{
    auto* picture = reinterpret_cast<CPictureEx*>(self);
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            picture->Paint(dc);
            ::EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_DESTROY:
            picture->Stop();
            ::RemoveWindowSubclass(window, &CPictureEx::SubclassProcedure, kSubclassId);
            picture->m_window = nullptr;
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

bool LoadPicture(suite::CVNTLanguageClient& languages, CPictureEx& picture, std::wstring_view name,
                 const wchar_t* type, ScaleFactors scale, int languageIndex)
{
    const auto image = languages.FindImage(name, languageIndex);
    if (!image)
        return false;
    picture.SetScale(scale);
    if (!picture.LoadFromResource(image->module, image->resourceId, type))
        return false;
    picture.Draw();
    return true;
}

}  // namespace update
