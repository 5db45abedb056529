#pragma once

#include <windows.h>

#include <cstdint>

#include "base/gdi_scopes.h"

namespace velora {

// A 32-bit DIB section with positive height (rows stored bottom-up),
// selected into a memory DC of its own: the surface a layered window is
// presented from. Everything is released when it goes.
class ShadowCanvas {
  public:
    // Bounds the side so that a bogus window size cannot ask for gigabytes.
    static constexpr int kMaxSide = 16384;

    // Cleared to transparent black; invalid when a side is not in
    // 1..kMaxSide or GDI refuses.
    static ShadowCanvas Create(int width, int height);

    ShadowCanvas() = default;
    ShadowCanvas(ShadowCanvas&& other) noexcept;
    ShadowCanvas& operator=(ShadowCanvas&&) = delete;
    ShadowCanvas(const ShadowCanvas&) = delete;
    ShadowCanvas& operator=(const ShadowCanvas&) = delete;

    bool IsValid() const { return selection_.IsSelected(); }
    HDC Dc() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT Bounds() const { return RECT{0, 0, width_, height_}; }
    // The premultiplied BGRA pixel at (x, y), y counted from the top.
    std::uint32_t PixelAt(int x, int y) const;

  private:
    // Declared in release order reversed: the selection goes first, then
    // the bitmap, then the DC.
    ScopedMemoryDc dc_;
    ScopedBitmap bitmap_;
    ScopedSelectObject selection_;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace velora
