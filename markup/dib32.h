#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

#include "base/gdi_scopes.h"

namespace velora {

// A top-down 32-bit DIB section whose pixels (premultiplied BGRA) are
// reachable by address. Sides are limited so that a bogus size cannot ask
// for gigabytes.
class Dib32 {
  public:
    static constexpr int kMaxSide = 8192;

    Dib32() = default;
    Dib32(Dib32&& other) noexcept { *this = std::move(other); }
    Dib32& operator=(Dib32&& other) noexcept {
        bitmap_ = std::move(other.bitmap_);
        pixels_ = std::exchange(other.pixels_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        return *this;
    }
    // Cleared to 0; empty when either side is not in 1..kMaxSide.
    static Dib32 Create(int width, int height);

    bool IsValid() const { return bitmap_.IsValid(); }
    HBITMAP Handle() const { return bitmap_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t* Pixels() const { return pixels_; }
    std::uint32_t& At(int x, int y) const { return pixels_[y * width_ + x]; }

  private:
    ScopedBitmap bitmap_;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Keeps a DIB selected in a memory DC for a run of blends onto one target.
class DibBlender {
  public:
    DibBlender(HDC target, const Dib32& source);
    DibBlender(const DibBlender&) = delete;
    DibBlender& operator=(const DibBlender&) = delete;

    // Blends `part` of the source into `destination` with the source's
    // per-pixel alpha and a constant alpha, stretching when the sizes differ.
    // Nothing for empty sizes.
    bool Blend(const RECT& destination, const RECT& part, BYTE constantAlpha = 255) const;

  private:
    HDC target_;
    ScopedMemoryDc memory_;
    ScopedSelectObject selected_;
};

// One blend (see DibBlender::Blend).
bool BlendDib(HDC dc, const RECT& destination, const Dib32& source, const RECT& part,
              BYTE constantAlpha = 255);

// Replaces every non-zero pixel by its grey (green 59 %, red 30 %, blue 11 %)
// in all three colour bytes, keeping alpha.
void GreyOut(Dib32& dib);

}  // namespace velora
