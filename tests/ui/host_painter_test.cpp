#include "ui/host_painter.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/window_impl.h"

namespace velora {
namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 30;

// A bare window whose content is one colour over the whole buffer (until
// `fill` is cleared), and which keeps the bounds of each paint's region.
class PaintedWindow : public CBkWindowImpl, public IBkPaintSource {
  public:
    explicit PaintedWindow(DWORD exStyle) {
        CreateNative(nullptr, RECT{0, 0, kWidth, kHeight}, L"", WS_POPUP, exStyle);
    }
    bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
    void PaintContent(HDC dc, HRGN region, const RECT& area) override {
        RECT bounds = area;
        if (region != nullptr) {
            ::GetRgnBox(region, &bounds);
        }
        painted.push_back(bounds);
        if (fill) {
            ScopedBrush brush(::CreateSolidBrush(RGB(0x11, 0x22, 0x33)));
            ::FillRect(dc, &area, brush.Get());
        }
    }
    void AfterPaint() override {}

    std::vector<RECT> painted;
    bool fill = true;
};

std::uint32_t PixelAt(const CBkBitmap& buffer, int x, int y) {
    return buffer.Pixels()[static_cast<std::size_t>(buffer.Height() - 1 - y) * buffer.Width() + x];
}

TEST(HostPainterTest, RepaintsOnlyTheDirtyRegionAndClearsItOnlyForALayeredWindow) {
    for (const DWORD exStyle : {DWORD{0}, DWORD{WS_EX_LAYERED}}) {
        PaintedWindow window(exStyle);
        ASSERT_NE(nullptr, window.Handle());
        CBkHostPainter painter(window, window);
        painter.FitBuffer(kWidth, kHeight);
        ScopedMemoryDc target(::CreateCompatibleDC(nullptr));
        painter.Paint(target.Get());
        const std::uint32_t filled = PixelAt(painter.Buffer(), 15, 15);
        EXPECT_NE(0u, filled);

        window.fill = false;
        painter.Invalidate(RECT{10, 10, 20, 20});
        painter.Invalidate(RECT{15, 15, 25, 25});
        painter.Paint(target.Get());
        ASSERT_EQ(2u, window.painted.size());
        const RECT& dirty = window.painted[1];
        EXPECT_EQ((std::vector<LONG>{10, 10, 25, 25}),
                  (std::vector<LONG>{dirty.left, dirty.top, dirty.right, dirty.bottom}))
            << "clipped to the union of what was invalidated";
        const bool layered = exStyle != 0;
        EXPECT_EQ(layered ? 0u : filled, PixelAt(painter.Buffer(), 15, 15))
            << "a layered window starts the dirty part from transparent black";
        EXPECT_EQ(filled, PixelAt(painter.Buffer(), 5, 5)) << "outside the region: kept";

        painter.Paint(target.Get());
        EXPECT_EQ(2u, window.painted.size()) << "nothing dirty, nothing repainted";
    }
}

}  // namespace
}  // namespace velora
