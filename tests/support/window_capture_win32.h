// Pictures of windows for screenshots: a window as the screen shows it, children included, written
// as a 24-bit BMP file; and a message pump that lets a shown window paint first.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

bool SaveWindow(HWND window, const std::wstring& path);
// Shows a modeless window, lets it paint, saves it and destroys it; false when any of that failed.
bool CaptureAndClose(HWND window, const std::wstring& path);
// Serves this thread's messages for the given time.
void Pump(DWORD milliseconds);

}  // namespace testsupport
