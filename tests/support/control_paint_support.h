#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "markup/skin_pool.h"
#include "markup/style_pool.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_canvas.h"
#include "ui/bk_window.h"

namespace velora::test {

// Skin and style tables for one test; both pools are emptied afterwards.
class PaintSetup {
  public:
    PaintSetup() = default;
    ~PaintSetup() {
        BkSkinObjectPool::Instance().Load(SkinSources::FreshId());
        BkStylePool::Instance().Load(SkinSources::FreshId());
    }
    PaintSetup(const PaintSetup&) = delete;
    PaintSetup& operator=(const PaintSetup&) = delete;

    // A PNG of flat columns, `height` rows: `runs` as for Columns().
    std::string Picture(int height, const std::vector<std::pair<int, std::uint32_t>>& runs) {
        int width = 0;
        for (const auto& run : runs) {
            width += run.first;
        }
        return std::to_string(sources_.Png(EncodePng(width, height, Columns(height, runs))));
    }
    void Skins(const std::string& entries) {
        const UINT id = SkinSources::FreshId();
        sources_.Table(id, entries);
        EXPECT_TRUE(BkSkinObjectPool::Instance().Load(id));
    }
    void Styles(const std::string& classes) {
        const UINT id = SkinSources::FreshId();
        sources_.Document(id, "<style>" + classes + "</style>");
        EXPECT_TRUE(BkStylePool::Instance().Load(id));
    }

  private:
    SkinSources sources_;
};

// Places a control at (x, y) in a 400 x 200 area; it takes its natural size
// there (a four-item `pos` gives the size it spans).
inline void Place(CBkWindow& control, int x = 0, int y = 0) {
    WINDOWPOS placement = {};
    placement.x = x;
    placement.y = y;
    placement.cx = 400;
    placement.cy = 200;
    control.SendControlMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&placement));
}

inline void Paint(CBkWindow& control, HDC dc) {
    control.SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(dc));
}

inline SIZE NaturalSize(CBkWindow& control, SIZE available = {0, 0}) {
    control.SendControlMessage(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&available));
    return available;
}

inline void ButtonUp(CBkWindow& control, int x, int y) {
    control.SendControlMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// A canvas drawn on as the host draws: transparent text background.
class PaintCanvas : public Canvas {
  public:
    PaintCanvas(int width, int height, COLORREF fill) : Canvas(width, height, fill) {
        ::SetBkMode(Dc(), TRANSPARENT);
    }
    // Pixels in [left, right) x [top, bottom) within `tolerance` of `color`.
    int Count(COLORREF color, RECT area, int tolerance = 0) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (ColorNear(color, At(x, y), tolerance)) {
                    ++count;
                }
            }
        }
        return count;
    }
    // Columns [first, last] holding a pixel other than `paper`; {-1, -1} when none.
    std::pair<int, int> InkColumns(COLORREF paper) const {
        std::pair<int, int> columns = {-1, -1};
        for (int x = 0; x < Width(); ++x) {
            for (int y = 0; y < Height(); ++y) {
                if (At(x, y) != paper) {
                    if (columns.first < 0) {
                        columns.first = x;
                    }
                    columns.second = x;
                    break;
                }
            }
        }
        return columns;
    }
};

}  // namespace velora::test
