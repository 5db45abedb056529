#pragma once

#include <windows.h>

namespace velora {

// Copies from a bitmap of the bitmap pool onto a device context. The source
// part is cut to the bitmap; parts outside it, and empty sizes, copy nothing.
// A part copied at the same size is a 1:1 copy, otherwise it is stretched.

// Opaque copy (BitBlt or StretchBlt, SRCCOPY).
bool CopyOpaque(HDC dc, const RECT& destination, HBITMAP bitmap, const RECT& source);

// Copy in which the pixels of colour `key` stay transparent.
bool CopyKeyed(HDC dc, const RECT& destination, HBITMAP bitmap, const RECT& source, COLORREF key);

// 1:1 blend of a 32-bit bitmap's part by its straight (not premultiplied)
// alpha; false for other depths.
bool CopyStraightAlpha(HDC dc, POINT at, HBITMAP bitmap, const RECT& source);

// The bitmap's size and colour depth.
BITMAP BitmapInfo(HBITMAP bitmap);

}  // namespace velora
