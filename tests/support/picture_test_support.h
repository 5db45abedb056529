#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "markup/skin_pool.h"
#include "markup/style_pool.h"
#include "tests/support/load_control.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_canvas.h"
#include "ui/bk_window.h"

namespace velora::test {

// Skins (and, when asked, style classes) made for one test from pictures
// built in memory. The skin and style pools are left with the test's tables;
// every test loads its own.
class PictureSkins {
  public:
    // A "png" skin named `name` over `pixels`, with more attributes verbatim.
    void Png(const std::string& name, int width, int height, const Argb& pixels,
             const std::string& attributes = "") {
        const UINT id = sources_.Png(EncodePng(width, height, pixels));
        entries_ +=
            "<png name=\"" + name + "\" src=\"" + std::to_string(id) + "\" " + attributes + "/>";
    }
    // Loads the skins given so far into the skin pool.
    void Load() {
        const UINT id = SkinSources::FreshId();
        sources_.Table(id, entries_);
        ASSERT_TRUE(BkSkinObjectPool::Instance().Load(id));
    }
    // Loads `classes` (<class .../> elements) into the style pool.
    void Styles(const std::string& classes) {
        const UINT id = SkinSources::FreshId();
        sources_.Document(id, "<style>" + classes + "</style>");
        ASSERT_TRUE(BkStylePool::Instance().Load(id));
    }

  private:
    SkinSources sources_;
    std::string entries_;
};

// Every pixel `color`.
inline Argb Flat(int width, int height, std::uint32_t color) {
    return Argb(static_cast<std::size_t>(width) * height, color);
}

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
