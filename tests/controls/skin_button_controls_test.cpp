// Buttons that draw a skin cell by their state.
#include "controls/skin_button_controls.h"

#include <gtest/gtest.h>

#include "tests/support/control_paint_support.h"

namespace velora {
namespace {

using test::Argb;
using test::Canvas;
using test::ColorNear;
using test::Flat;
using test::Paint;
using test::PaintSetup;
using test::PlacedControl;

constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST(SkinButtonControlsTest, ButtonsDrawTheirSkinCellByStateIndex) {
    PaintSetup skins;
    Argb frames;  // four 4-pixel frames: normal, hover, pushed, disabled
    for (int y = 0; y < 8; ++y) {
        for (std::uint32_t color : {0xFFE00000u, 0xFF00C000u, 0xFF0000D0u, 0xFF808080u}) {
            frames.insert(frames.end(), 4, color);
        }
    }
    // Side margins make the frames stretch to the control.
    skins.Png("faces", 16, 8, frames, "subwidth=\"4\" margin_left=\"1\" margin_right=\"1\"");
    skins.Png("middle", 4, 8, Flat(4, 8, 0xFFFFFF00));
    skins.Load();
    Canvas canvas(40, 10, kWhite);
    auto button = PlacedControl<CBkSkinBtnWnd>("<skinbtn pos=\"0,0,-0,-0\" skin=\"faces\"/>",
                                               RECT{0, 0, 8, 8});
    Paint(*button, canvas);
    EXPECT_TRUE(ColorNear(RGB(0xE0, 0, 0), canvas.At(4, 4), 4));
    button->ModifyState(ControlState::kHover, ControlState::kNone);
    Paint(*button, canvas);
    EXPECT_TRUE(ColorNear(RGB(0, 0xC0, 0), canvas.At(4, 4), 4));
    button->ModifyState(ControlState::kPushed, ControlState::kNone);
    Paint(*button, canvas);
    EXPECT_TRUE(ColorNear(RGB(0, 0, 0xD0), canvas.At(4, 4), 4));
    button->ModifyState(ControlState::kDisabled, ControlState::kNone);
    Paint(*button, canvas);
    EXPECT_TRUE(ColorNear(RGB(0x80, 0x80, 0x80), canvas.At(4, 4), 4)) << "disabled wins";

    auto sized = PlacedControl<CBkImgbtnsized>(
        "<imgbtnsized pos=\"0,0,-0,-0\" skin=\"faces\" skinmid=\"middle\" left=\"3\"/>",
        RECT{10, 0, 30, 8});
    Paint(*sized, canvas);
    EXPECT_TRUE(ColorNear(RGB(0xE0, 0, 0), canvas.At(11, 4), 4)) << "outer skin at the sides";
    EXPECT_TRUE(ColorNear(RGB(0xFF, 0xFF, 0), canvas.At(13, 4), 4)) << "middle from left + 3";
    EXPECT_TRUE(ColorNear(RGB(0xFF, 0xFF, 0), canvas.At(26, 4), 4));
    EXPECT_TRUE(ColorNear(RGB(0xE0, 0, 0), canvas.At(28, 4), 4));
}

}  // namespace
}  // namespace velora
