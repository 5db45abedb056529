#include "markup/bitmap_blit.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/gdi_scopes.h"
#include "markup/dib32.h"

namespace velora {
namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}

int Height(const RECT& r) {
    return r.bottom - r.top;
}

// Cuts `source` to the bitmap; a 1:1 destination shrinks with it. False
// when nothing is left.
bool ClipToBitmap(HBITMAP bitmap, RECT& destination, RECT& source) {
    const BITMAP info = BitmapInfo(bitmap);
    if (info.bmWidth <= 0 || info.bmHeight <= 0 || source.left < 0 || source.top < 0 ||
        Width(source) <= 0 || Height(source) <= 0 || Width(destination) <= 0 ||
        Height(destination) <= 0) {
        return false;
    }
    const bool oneToOne =
        Width(source) == Width(destination) && Height(source) == Height(destination);
    source.right = std::min<LONG>(source.right, info.bmWidth);
    source.bottom = std::min<LONG>(source.bottom, info.bmHeight);
    if (Width(source) <= 0 || Height(source) <= 0) {
        return false;
    }
    if (oneToOne) {
        destination.right = destination.left + Width(source);
        destination.bottom = destination.top + Height(source);
    }
    return true;
}

// Copies the part into `to` at (x, y) in the DC's current stretch mode.
bool Blit(HDC to, int x, int y, int width, int height, HDC from, const RECT& source) {
    if (width == Width(source) && height == Height(source)) {
        return ::BitBlt(to, x, y, width, height, from, source.left, source.top, SRCCOPY) != FALSE;
    }
    return ::StretchBlt(to, x, y, width, height, from, source.left, source.top, Width(source),
                        Height(source), SRCCOPY) != FALSE;
}

}  // namespace

BITMAP BitmapInfo(HBITMAP bitmap) {
    BITMAP info = {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info)) {
        info = {};
    }
    return info;
}

bool CopyOpaque(HDC dc, const RECT& destination, HBITMAP bitmap, const RECT& source) {
    RECT to = destination;
    RECT from = source;
    if (!ClipToBitmap(bitmap, to, from)) {
        return false;
    }
    ScopedMemoryDc memory(::CreateCompatibleDC(dc));
    ScopedSelectObject selected(memory.Get(), bitmap);
    return selected.IsSelected() &&
           Blit(dc, to.left, to.top, Width(to), Height(to), memory.Get(), from);
}

bool CopyKeyed(HDC dc, const RECT& destination, HBITMAP bitmap, const RECT& source, COLORREF key) {
    RECT to = destination;
    RECT from = source;
    if (!ClipToBitmap(bitmap, to, from)) {
        return false;
    }
    const int width = Width(to);
    const int height = Height(to);
    ScopedMemoryDc sourceDc(::CreateCompatibleDC(dc));
    ScopedSelectObject sourceSelected(sourceDc.Get(), bitmap);
    // The part at its final size, then a mask that is 1 where it has the key.
    ScopedMemoryDc copyDc(::CreateCompatibleDC(dc));
    ScopedBitmap copy(::CreateCompatibleBitmap(dc, width, height));
    ScopedSelectObject copySelected(copyDc.Get(), copy.Get());
    ScopedMemoryDc maskDc(::CreateCompatibleDC(dc));
    ScopedBitmap mask(::CreateBitmap(width, height, 1, 1, nullptr));
    ScopedSelectObject maskSelected(maskDc.Get(), mask.Get());
    if (!sourceSelected.IsSelected() || !copySelected.IsSelected() || !maskSelected.IsSelected()) {
        return false;
    }
    // Stretching must not blend the key colour into its neighbours.
    ::SetStretchBltMode(copyDc.Get(), COLORONCOLOR);
    Blit(copyDc.Get(), 0, 0, width, height, sourceDc.Get(), from);
    ::SetBkColor(copyDc.Get(), key);
    ::BitBlt(maskDc.Get(), 0, 0, width, height, copyDc.Get(), 0, 0, SRCCOPY);
    // Key pixels of the copy become black (mask 1 -> background colour).
    ::SetBkColor(copyDc.Get(), RGB(0, 0, 0));
    ::SetTextColor(copyDc.Get(), RGB(255, 255, 255));
    ::BitBlt(copyDc.Get(), 0, 0, width, height, maskDc.Get(), 0, 0, SRCAND);
    // Clear the target where the copy shows, then lay the copy in.
    const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    ::BitBlt(dc, to.left, to.top, width, height, maskDc.Get(), 0, 0, SRCAND);
    ::BitBlt(dc, to.left, to.top, width, height, copyDc.Get(), 0, 0, SRCPAINT);
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldText);
    return true;
}

bool CopyStraightAlpha(HDC dc, POINT at, HBITMAP bitmap, const RECT& source) {
    const BITMAP info = BitmapInfo(bitmap);
    if (info.bmBitsPixel != 32 || info.bmWidth > Dib32::kMaxSide ||
        info.bmHeight > Dib32::kMaxSide) {
        return false;
    }
    RECT to = {at.x, at.y, at.x + Width(source), at.y + Height(source)};
    RECT from = source;
    if (!ClipToBitmap(bitmap, to, from)) {
        return false;
    }
    const int width = Width(to);
    const int height = Height(to);
    // The bitmap's pixels, top-down.
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.bmWidth) * info.bmHeight);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    ScopedMemoryDc scratch(::CreateCompatibleDC(dc));
    if (::GetDIBits(scratch.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(),
                    &format, DIB_RGB_COLORS) != info.bmHeight) {
        return false;
    }
    // The target area as 24-bit pixels, blended and put back.
    BITMAPINFO target = format;
    target.bmiHeader.biWidth = width;
    target.bmiHeader.biHeight = -height;
    target.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    ScopedBitmap buffer(::CreateDIBSection(dc, &target, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedSelectObject selected(scratch.Get(), buffer.Get());
    if (bits == nullptr || !selected.IsSelected()) {
        return false;
    }
    ::BitBlt(scratch.Get(), 0, 0, width, height, dc, to.left, to.top, SRCCOPY);
    ::GdiFlush();
    const int stride = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        BYTE* row = static_cast<BYTE*>(bits) + static_cast<std::ptrdiff_t>(y) * stride;
        const std::uint32_t* in = &pixels[static_cast<std::size_t>(from.top + y) * info.bmWidth +
                                          static_cast<std::size_t>(from.left)];
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = in[x];
            const std::uint32_t a = p >> 24;
            for (int c = 0; c < 3; ++c) {
                const std::uint32_t s = (p >> (8 * c)) & 0xFF;
                BYTE& d = row[x * 3 + c];
                d = static_cast<BYTE>((s * a + d * (255 - a)) / 255);
            }
        }
    }
    ::BitBlt(dc, to.left, to.top, width, height, scratch.Get(), 0, 0, SRCCOPY);
    return true;
}

}  // namespace velora
