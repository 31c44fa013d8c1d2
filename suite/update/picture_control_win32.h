// The picture control: a static control that shows one picture the system's picture loader accepts,
// or a GIF whose frames it animates on a thread of its own. It draws into an off-screen bitmap and
// copies that to the screen when painted.
#pragma once

#include "core/unique_handle.h"
#include "suite/common/language_client_win32.h"
#include "suite/update/dialog_scale.h"

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace update {

struct ComRelease
{
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};
using UniquePicture = std::unique_ptr<IPicture, ComRelease>;

class CPictureEx
{
public:
    CPictureEx();
    ~CPictureEx();
    CPictureEx(const CPictureEx&) = delete;
    CPictureEx& operator=(const CPictureEx&) = delete;

    // Takes over a static control of a dialog; the control's destruction stops the animation.
    bool Attach(HWND control);
    HWND Window() const noexcept { return m_window; }

    void SetScale(ScaleFactors factors) noexcept { m_scale = factors; }
    bool Load(std::span<const std::uint8_t> data);
    bool LoadFromResource(HMODULE module, int resourceId, const wchar_t* type);
    // Starts the animation of an animated GIF, else renders the picture.
    void Draw();
    void Stop();

    SIZE Size() const noexcept { return m_size; }
    bool IsGif() const noexcept { return m_isGif; }
    bool IsAnimatedGif() const noexcept { return m_isGif && m_frames.size() > 1; }
    int FrameCount() const noexcept
    {
        return IsAnimatedGif() ? static_cast<int>(m_frames.size()) : 0;
    }
    bool IsAnimating() const noexcept { return m_thread.joinable(); }
    COLORREF Background() const noexcept { return m_background; }
    void SetBackground(COLORREF colour);
    void SetPaintRect(std::optional<RECT> rect) noexcept { m_paintRect = rect; }

private:
    struct Frame
    {
        UniquePicture picture;
        int left, top, width, height, delay, disposal;
    };

    static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR id, DWORD_PTR self) noexcept;
    void Unload();
    void CreateOffscreen();
    void Fill(const RECT& area, COLORREF colour);
    void Render(IPicture* picture, int left, int top, int width, int height);
    void Animate();
    void Paint(HDC dc);

    HWND m_window = nullptr;
    ScaleFactors m_scale;
    SIZE m_size{0, 0};
    COLORREF m_background = RGB(255, 255, 255);
    bool m_isGif = false;
    UniquePicture m_picture;
    std::vector<Frame> m_frames;
    std::optional<RECT> m_paintRect;

    std::mutex m_drawing;  // the off-screen bitmap, shared by the animation and painting
    core::UniqueMemoryDc m_offscreen;
    core::UniqueGdiObject m_offscreenBitmap;
    HGDIOBJ m_previousBitmap = nullptr;
    core::UniqueMemoryDc m_saved;
    core::UniqueGdiObject m_savedBitmap;
    HGDIOBJ m_previousSaved = nullptr;

    core::UniqueEvent m_stopEvent;
    std::atomic<bool> m_stopRequested{false};
    std::thread m_thread;
};

// Fills the picture control from an image resource of the language library, with the dialog's scale
// factors, and draws it.
bool LoadPicture(suite::CVNTLanguageClient& languages, CPictureEx& picture, std::wstring_view name,
                 const wchar_t* type, ScaleFactors scale, int languageIndex = -1);

// The picture loader over bytes in movable global memory.
UniquePicture LoadSystemPicture(std::span<const std::uint8_t> data);

}  // namespace update
