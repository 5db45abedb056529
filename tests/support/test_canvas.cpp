#include "tests/support/test_canvas.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velora::test {

Canvas::Canvas(int width, int height, COLORREF fill)
    : dc_(::CreateCompatibleDC(nullptr)),
      dib_(Dib32::Create(width, height)),
      selected_(dc_.Get(), dib_.Handle()) {
    Fill(fill);
}

COLORREF Canvas::At(int x, int y) const {
    ::GdiFlush();
    const std::uint32_t p = dib_.At(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Canvas::Fill(COLORREF color) {
    ::GdiFlush();
    const std::uint32_t p =
        0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (int y = 0; y < Height(); ++y) {
        for (int x = 0; x < Width(); ++x) {
            dib_.At(x, y) = p;
        }
    }
}

bool Canvas::SamePixels(const Canvas& other) const {
    ::GdiFlush();
    return Width() == other.Width() && Height() == other.Height() &&
           std::memcmp(dib_.Pixels(), other.dib_.Pixels(),
                       static_cast<std::size_t>(Width()) * Height() * 4) == 0;
}

::testing::AssertionResult ColorNear(COLORREF expected, COLORREF actual, int tolerance) {
    const int dr = std::abs(GetRValue(expected) - GetRValue(actual));
    const int dg = std::abs(GetGValue(expected) - GetGValue(actual));
    const int db = std::abs(GetBValue(expected) - GetBValue(actual));
    if (dr <= tolerance && dg <= tolerance && db <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    char text[96];
    std::snprintf(text, sizeof(text), "expected RGB %02X%02X%02X, got %02X%02X%02X",
                  GetRValue(expected), GetGValue(expected), GetBValue(expected), GetRValue(actual),
                  GetGValue(actual), GetBValue(actual));
    return ::testing::AssertionFailure() << text;
}

}  // namespace velora::test
