// Painting and natural size of the picture controls that draw a skin cell.
#include <gtest/gtest.h>

#include <string>

#include "controls/skin_image_controls.h"
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

// A strip whose every column has its own colour: red = 4 x column.
Argb ColumnRamp(int width, int height) {
    Argb pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(0xFF000000u | (static_cast<std::uint32_t>(x * 4) << 16) | 0x40);
        }
    }
    return pixels;
}

COLORREF RampColor(int column) {
    return RGB(column * 4, 0, 0x40);
}

// `top` rows of `upper` over rows of `lower`.
Argb Bands(int width, int height, int top, std::uint32_t upper, std::uint32_t lower) {
    Argb pixels;
    for (int y = 0; y < height; ++y) {
        pixels.insert(pixels.end(), width, y < top ? upper : lower);
    }
    return pixels;
}

TEST(SkinImageControlsTest, ImageExDrawsTheCellCountedInCellWidths) {
    PaintSetup skins;
    skins.Png("strip", 64, 8, ColumnRamp(64, 8), "subwidth=\"16\"");
    skins.Load();
    Canvas canvas(40, 20, kWhite);
    auto control = PlacedControl<CBkImageEx>("<imgex pos=\"0,0,-0,-0\" skin=\"strip\" sub=\"2\"/>",
                                             RECT{4, 4, 20, 12});
    Paint(*control, canvas);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(ColorNear(RampColor(32 + i), canvas.At(4 + i, 6), 2)) << "column " << i;
    }
    EXPECT_EQ(kWhite, canvas.At(20, 6)) << "nothing right of the control";
    EXPECT_EQ(kWhite, canvas.At(4, 12)) << "nothing below the control";
}

TEST(SkinImageControlsTest, ImageExBlendsWithItsAlphaAndTakesTheCellSize) {
    PaintSetup skins;
    skins.Png("blue", 32, 6, Flat(32, 6, 0xFF0000FF), "subwidth=\"8\"");
    skins.Load();
    Canvas canvas(20, 10, kWhite);
    auto control = PlacedControl<CBkImageEx>(
        "<imgex pos=\"0,0,-0,-0\" skin=\"blue\" alpha=\"128\"/>", RECT{0, 0, 8, 6});
    Paint(*control, canvas);
    EXPECT_TRUE(ColorNear(RGB(127, 127, 255), canvas.At(3, 3), 4));

    auto natural = PlacedControl<CBkImageEx>("<imgex skin=\"blue\"/>", RECT{2, 3, 100, 100});
    EXPECT_EQ(8, natural->Rect().right - natural->Rect().left) << "one cell wide";
    EXPECT_EQ(6, natural->Rect().bottom - natural->Rect().top);
    auto missing =
        PlacedControl<CBkImageEx>("<imgex pos=\"0,0,-0,-0\" skin=\"nope\"/>", RECT{0, 0, 20, 10});
    Canvas blank(20, 10, kWhite);
    Paint(*missing, blank);
    EXPECT_TRUE(blank.SamePixels(Canvas(20, 10, kWhite))) << "a missing skin draws nothing";
}

TEST(SkinImageControlsTest, ImageEx2CutsFromTopDrawWithoutStretch) {
    PaintSetup skins;
    skins.Png("bands", 16, 8, Bands(16, 8, 4, 0xFFE00000, 0xFF0000D0));
    skins.Load();
    const RECT area = {0, 0, 20, 20};

    Canvas beyond(20, 20, kWhite);
    auto past = PlacedControl<CBkImageEx2>(
        "<imgex2 pos=\"0,0,-0,-0\" skin=\"bands\" topdraw=\"20\"/>", area);
    Paint(*past, beyond);
    EXPECT_TRUE(beyond.SamePixels(Canvas(20, 20, kWhite))) << "topdraw past the picture";

    Canvas cut(20, 20, kWhite);
    auto lower = PlacedControl<CBkImageEx2>(
        "<imgex2 pos=\"0,0,-0,-0\" skin=\"bands\" topdraw=\"4\"/>", area);
    Paint(*lower, cut);
    EXPECT_TRUE(ColorNear(RGB(0, 0, 0xD0), cut.At(0, 0), 2)) << "row 4 at the control's top";
    EXPECT_TRUE(ColorNear(RGB(0, 0, 0xD0), cut.At(15, 3), 2));
    EXPECT_EQ(kWhite, cut.At(15, 4)) << "only the 4 rows left, not scaled";
    EXPECT_EQ(kWhite, cut.At(16, 0)) << "no wider than the picture";
}

TEST(SkinImageControlsTest, ImageEx2StretchScalesTheRowsLeft) {
    PaintSetup skins;
    skins.Png("bands", 16, 8, Bands(16, 8, 4, 0xFFE00000, 0xFF0000D0));
    skins.Load();
    Canvas canvas(40, 40, kWhite);
    auto control = PlacedControl<CBkImageEx2>(
        "<imgex2 pos=\"0,0,-0,-0\" skin=\"bands\" topdraw=\"4\" stretch=\"1\"/>",
        RECT{0, 0, 32, 32});
    Paint(*control, canvas);
    // The last rows fade a little: GDI+ samples past the picture's edge.
    for (int y : {4, 16, 24}) {
        EXPECT_TRUE(ColorNear(RGB(0, 0, 0xD0), canvas.At(16, y), 8)) << "row " << y;
    }
    EXPECT_TRUE(ColorNear(RGB(0, 0, 0xD0), canvas.At(30, 16), 8)) << "stretched across";
    EXPECT_EQ(kWhite, canvas.At(33, 16));

    Canvas blank(40, 40, kWhite);
    auto past = PlacedControl<CBkImageEx2>(
        "<imgex2 pos=\"0,0,-0,-0\" skin=\"bands\" topdraw=\"99\" stretch=\"1\"/>",
        RECT{0, 0, 32, 32});
    Paint(*past, blank);
    EXPECT_TRUE(blank.SamePixels(Canvas(40, 40, kWhite))) << "no rows left to stretch";
}

TEST(SkinImageControlsTest, ImageEx2KeepsATwoCornerPositionsSize) {
    PaintSetup skins;
    skins.Png("bands", 16, 8, Bands(16, 8, 4, 0xFFE00000, 0xFF0000D0));
    skins.Load();
    const RECT area = {0, 0, 100, 100};
    auto fixed = PlacedControl<CBkImageEx2>("<imgex2 pos=\"0,0,40,30\" skin=\"bands\"/>", area);
    EXPECT_EQ(40, fixed->Rect().right);
    EXPECT_EQ(30, fixed->Rect().bottom);
    auto cell = PlacedControl<CBkImageEx>("<imgex pos=\"0,0,40,30\" skin=\"bands\"/>", area);
    EXPECT_EQ(16, cell->Rect().right) << "imgex takes the cell size";
    EXPECT_EQ(8, cell->Rect().bottom);
    auto point = PlacedControl<CBkImageEx2>("<imgex2 pos=\"5,5\" skin=\"bands\"/>", area);
    EXPECT_EQ(16, point->Rect().right - point->Rect().left) << "one point: the cell size";
}

// A 12 x 12 picture: a 3-pixel red frame round a blue middle.
Argb FramedPicture() {
    Argb pixels;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool frame = x < 3 || y < 3 || x >= 9 || y >= 9;
            pixels.push_back(frame ? 0xFFE00000u : 0xFF0000D0u);
        }
    }
    return pixels;
}

TEST(SkinImageControlsTest, ExpendImageKeepsMarginsAndStretchesTheMiddle) {
    PaintSetup skins;
    skins.Png("framed", 12, 12, FramedPicture());
    skins.Load();
    Canvas canvas(60, 40, kWhite);
    auto control = PlacedControl<CBkExpendImg>(
        "<expendimg pos=\"0,0,-0,-0\" skin=\"framed\" margin_left=\"3\" margin_top=\"3\" "
        "margin_right=\"3\" margin_bottom=\"3\"/>",
        RECT{5, 5, 55, 35});
    Paint(*control, canvas);
    const COLORREF red = RGB(0xE0, 0, 0);
    const COLORREF blue = RGB(0, 0, 0xD0);
    EXPECT_EQ(kWhite, canvas.At(4, 20));
    EXPECT_TRUE(ColorNear(red, canvas.At(5, 20), 6)) << "left margin";
    EXPECT_TRUE(ColorNear(red, canvas.At(7, 20), 6)) << "left margin is 3 wide";
    EXPECT_TRUE(ColorNear(blue, canvas.At(9, 20), 30)) << "middle starts after 3";
    EXPECT_TRUE(ColorNear(blue, canvas.At(30, 20), 6)) << "middle stretched";
    EXPECT_TRUE(ColorNear(blue, canvas.At(40, 20), 30)) << "(scaling blends the seams)";
    EXPECT_TRUE(ColorNear(red, canvas.At(52, 20), 6)) << "right margin";
    EXPECT_TRUE(ColorNear(red, canvas.At(54, 20), 6));
    EXPECT_TRUE(ColorNear(red, canvas.At(30, 7), 6)) << "top margin";
    EXPECT_TRUE(ColorNear(blue, canvas.At(30, 10), 30));
    EXPECT_TRUE(ColorNear(red, canvas.At(30, 34), 6)) << "bottom margin";
    EXPECT_EQ(kWhite, canvas.At(30, 35));
    // Only the left edge kept: every other edge stretches with the middle.
    Canvas left(60, 40, kWhite);
    Paint(
        *PlacedControl<CBkExpendImg>(
            "<expendimg pos=\"0,0,-0,-0\" skin=\"framed\" margin_left=\"3\"/>", RECT{5, 5, 55, 35}),
        left);
    EXPECT_TRUE(ColorNear(blue, left.At(10, 20), 30)) << "left margin kept 3 wide";
    EXPECT_TRUE(ColorNear(red, left.At(44, 20), 6)) << "right edge stretched";
    EXPECT_TRUE(ColorNear(red, left.At(30, 9), 6)) << "top edge stretched";

    Canvas faded(60, 40, kWhite);
    auto half = PlacedControl<CBkExpendImg>(
        "<expendimg pos=\"0,0,-0,-0\" skin=\"framed\" skinalpha=\"128\" margin_left=\"3\" "
        "margin_top=\"3\" margin_right=\"3\" margin_bottom=\"3\"/>",
        RECT{5, 5, 55, 35});
    Paint(*half, faded);
    EXPECT_TRUE(ColorNear(RGB(127, 127, 0xE7), faded.At(30, 20), 6)) << "blended with skinalpha";
}

TEST(SkinImageControlsTest, GrayAndScaledCells) {
    PaintSetup skins;
    skins.Png("green", 8, 8, Flat(8, 8, 0xFF00C000));
    skins.Load();
    Canvas canvas(40, 20, kWhite);
    auto plain = PlacedControl<CBkImgGray>("<imggray pos=\"0,0,-0,-0\" skin=\"green\"/>",
                                           RECT{0, 0, 16, 16});
    auto gray = PlacedControl<CBkImgGray>("<imggray pos=\"0,0,-0,-0\" skin=\"green\" gray=\"1\"/>",
                                          RECT{20, 0, 36, 16});
    Paint(*plain, canvas);
    Paint(*gray, canvas);
    EXPECT_TRUE(ColorNear(RGB(0, 0xC0, 0), canvas.At(14, 14), 6)) << "scaled to the control";
    const COLORREF grey = canvas.At(34, 14);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    EXPECT_NE(kWhite, grey);
}

TEST(SkinImageControlsTest, RotatedCellTurnsAboutTheCentre) {
    PaintSetup skins;
    skins.Png("bands", 16, 16, Bands(16, 16, 8, 0xFFE00000, 0xFF0000D0));
    skins.Load();
    Canvas straight(20, 20, kWhite);
    Canvas turned(20, 20, kWhite);
    const RECT area = {2, 2, 18, 18};
    auto flat =
        PlacedControl<CBkImageRotale>("<imgrotale pos=\"0,0,-0,-0\" skin=\"bands\"/>", area);
    auto upside = PlacedControl<CBkImageRotale>(
        "<imgrotale pos=\"0,0,-0,-0\" skin=\"bands\" angle=\"180\"/>", area);
    Paint(*flat, straight);
    Paint(*upside, turned);
    EXPECT_TRUE(ColorNear(RGB(0xE0, 0, 0), straight.At(10, 4), 8));
    EXPECT_TRUE(ColorNear(RGB(0, 0, 0xD0), straight.At(10, 15), 8));
    EXPECT_TRUE(ColorNear(RGB(0, 0, 0xD0), turned.At(10, 4), 8)) << "upside down";
    EXPECT_TRUE(ColorNear(RGB(0xE0, 0, 0), turned.At(10, 15), 8));
}

TEST(SkinImageControlsTest, BackgroundTilesOnlyWithFill) {
    PaintSetup skins;
    skins.Png("dot", 4, 4, Bands(4, 4, 2, 0xFFE00000, 0xFF0000D0));
    skins.Load();
    Canvas canvas(20, 10, kWhite);
    auto tiled = PlacedControl<CBkImageBg>("<imgbg pos=\"0,0,-0,-0\" skin=\"dot\" fill=\"1\"/>",
                                           RECT{0, 0, 12, 8});
    Paint(*tiled, canvas);
    EXPECT_TRUE(ColorNear(RGB(0xE0, 0, 0), canvas.At(9, 4), 4)) << "second row of tiles";
    EXPECT_TRUE(ColorNear(RGB(0, 0, 0xD0), canvas.At(9, 7), 4));

    auto natural = PlacedControl<CBkImageBg>("<imgbg skin=\"dot\" cx=\"9\"/>", RECT{0, 0, 50, 50});
    EXPECT_EQ(9, natural->Rect().right);
    EXPECT_EQ(4, natural->Rect().bottom) << "the skin's height where cy is unset";
}

TEST(SkinImageControlsTest, ScrollImageShowsAWindowKeptInsideThePicture) {
    PaintSetup skins;
    skins.Png("ramp", 64, 4, ColumnRamp(64, 4));
    skins.Png("bands", 8, 8, Bands(8, 8, 4, 0xFFE00000, 0xFF0000D0));
    skins.Load();
    Canvas canvas(20, 10, kWhite);
    auto control = PlacedControl<CBkImageScroll>(
        "<scrollimg pos=\"0,0,-0,-0\" skin=\"ramp\" hscroll=\"1\" hpos=\"10\"/>", RECT{0, 0, 8, 4});
    Paint(*control, canvas);
    EXPECT_TRUE(ColorNear(RampColor(10), canvas.At(0, 1), 2));
    EXPECT_TRUE(ColorNear(RampColor(17), canvas.At(7, 1), 2));

    auto clamped = PlacedControl<CBkImageScroll>(
        "<scrollimg pos=\"0,0,-0,-0\" skin=\"ramp\" hscroll=\"1\" hpos=\"1000\"/>",
        RECT{0, 5, 8, 9});
    Paint(*clamped, canvas);
    EXPECT_TRUE(ColorNear(RampColor(56), canvas.At(0, 6), 2)) << "stops at the picture's end";
    EXPECT_TRUE(ColorNear(RampColor(63), canvas.At(7, 6), 2));

    auto down = PlacedControl<CBkImageScroll>(
        "<scrollimg pos=\"0,0,-0,-0\" skin=\"bands\" vscroll=\"1\" vpos=\"30\"/>",
        RECT{10, 0, 18, 4});
    Paint(*down, canvas);
    EXPECT_TRUE(ColorNear(RGB(0, 0, 0xD0), canvas.At(10, 0), 2)) << "vpos, kept inside";
    auto fixed = PlacedControl<CBkImageScroll>(
        "<scrollimg pos=\"0,0,-0,-0\" skin=\"ramp\" hpos=\"10\"/>", RECT{10, 5, 18, 9});
    Paint(*fixed, canvas);
    EXPECT_TRUE(ColorNear(RampColor(0), canvas.At(10, 6), 2)) << "no hscroll: hpos unused";
}

}  // namespace
}  // namespace velora
