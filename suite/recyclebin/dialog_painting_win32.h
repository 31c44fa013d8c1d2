// The background of Trashwipe's dialogs: the client area in one brush with one bitmap drawn
// unscaled where each dialog wants it.
#pragma once

#include <windows.h>

#include <functional>

namespace trashwipe {

// Where the bitmap's top-left corner goes, for the client area's and the bitmap's sizes.
using BitmapPlace = std::function<POINT(SIZE client, SIZE bitmap)>;

// Answers WM_ERASEBKGND: the background counts as erased.
INT_PTR PaintDialogBackground(HWND dialog, HDC dc, HBRUSH brush, HBITMAP bitmap,
                              const BitmapPlace& place);

}  // namespace trashwipe
