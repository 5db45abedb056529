#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "base/gdi_scopes.h"
#include "markup/dib32.h"

namespace velora::test {

// A 32-bit drawing surface with its own memory DC.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF fill);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_.Get(); }
    int Width() const { return dib_.Width(); }
    int Height() const { return dib_.Height(); }
    // The colour at (x, y) as a COLORREF (alpha left out).
    COLORREF At(int x, int y) const;
    void Fill(COLORREF color);
    bool SamePixels(const Canvas& other) const;
    const Dib32& Pixels() const { return dib_; }

  private:
    ScopedMemoryDc dc_;
    Dib32 dib_;
    ScopedSelectObject selected_;
};

// True when every channel of `actual` is within `tolerance` of `expected`.
::testing::AssertionResult ColorNear(COLORREF expected, COLORREF actual, int tolerance);

}  // namespace velora::test
