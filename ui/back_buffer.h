#pragma once

#include <windows.h>

#include <cstdint>

#include "base/gdi_scopes.h"

namespace velora {

// The host's back buffer: a 32-bit DIB section (rows bottom-up) that every
// paint goes into before it is presented.
class CBkBitmap {
  public:
    // Replaces the buffer with a new, zeroed one; false when it cannot be made.
    bool Create(int width, int height);
    void Reset();

    HBITMAP Handle() const { return bitmap_.Get(); }
    std::uint32_t* Pixels() const { return pixels_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool HasSize(int width, int height) const {
        return bitmap_ && width_ == width && height_ == height;
    }

  private:
    ScopedBitmap bitmap_;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace velora
