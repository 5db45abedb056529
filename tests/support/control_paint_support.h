#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "markup/skin_pool.h"
#include "markup/style_pool.h"
#include "tests/support/load_control.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_canvas.h"
#include "ui/bk_window.h"

namespace velora::test {

// Skin and style tables for one test, made from pictures built in memory;
// both pools are emptied afterwards.
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
    // Loads `entries` (skin elements written out) into the skin pool.
    void Skins(const std::string& entries) {
        const UINT id = SkinSources::FreshId();
        sources_.Table(id, entries);
        EXPECT_TRUE(BkSkinObjectPool::Instance().Load(id));
    }
    // Loads `classes` (<class .../> elements) into the style pool.
    void Styles(const std::string& classes) {
        const UINT id = SkinSources::FreshId();
        sources_.Document(id, "<style>" + classes + "</style>");
        EXPECT_TRUE(BkStylePool::Instance().Load(id));
    }

    // Adds a "png" skin named `name` over `pixels`, with more attributes
    // verbatim, to the ones Load() puts into the skin pool.
    void Png(const std::string& name, int width, int height, const Argb& pixels,
             const std::string& attributes = "") {
        const UINT id = sources_.Png(EncodePng(width, height, pixels));
        entries_ +=
            "<png name=\"" + name + "\" src=\"" + std::to_string(id) + "\" " + attributes + "/>";
    }
    // Loads the skins given to Png() so far into the skin pool.
    void Load() { Skins(entries_); }

  private:
    SkinSources sources_;
    std::string entries_;
};

// Every pixel `color`.
inline Argb Flat(int width, int height, std::uint32_t color) {
    return Argb(static_cast<std::size_t>(width) * height, color);
}

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

// Gives a control `area` the way a container does; with `pos` "0,0,-0,-0"
// the control covers exactly `area`.
inline void PlaceOver(CBkWindow& control, const RECT& area) {
    WINDOWPOS placement = {};
    placement.x = area.left;
    placement.y = area.top;
    placement.cx = area.right - area.left;
    placement.cy = area.bottom - area.top;
    control.SendControlMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&placement));
}

// Loads a control from markup, places it over `area` and returns it.
template <typename Control>
std::unique_ptr<Control> PlacedControl(const std::string& xml, const RECT& area) {
    auto control = LoadControl<Control>(xml);
    PlaceOver(*control, area);
    return control;
}

// Background and content, as the host paints a control.
inline void Paint(CBkWindow& control, const Canvas& canvas) {
    control.RedrawRegion(canvas.Dc(), nullptr);
}

}  // namespace velora::test
