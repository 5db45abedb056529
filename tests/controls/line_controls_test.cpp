// Rules: the GDI line ("hr") and the GDI+ line ("hrex").
#include "controls/line_controls.h"

#include <gtest/gtest.h>

#include "tests/support/control_paint_support.h"
#include "tests/support/load_control.h"

namespace velora {
namespace {

using test::Canvas;
using test::ColorNear;
using test::LoadControl;
using test::Paint;
using test::PaintSetup;
using test::PlacedControl;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A rule from (5, 10) to (45, 10), as "0,172,-0,172" gives in a layout.
const RECT kRuleArea = {5, 10, 45, 10};

int CountInRow(const Canvas& canvas, int y, COLORREF color) {
    int count = 0;
    for (int x = 0; x < canvas.Width(); ++x) {
        count += canvas.At(x, y) == color ? 1 : 0;
    }
    return count;
}

TEST(LineControlsTest, HorizontalRuleIsOnePixelInTheControlColour) {
    Canvas canvas(50, 20, kWhite);
    auto rule = PlacedControl<CBkLine>("<hr pos=\"0,0,-0,-0\" crbg=\"FF0000\"/>", kRuleArea);
    Paint(*rule, canvas);
    for (int x = 5; x < 45; ++x) {
        ASSERT_EQ(kRed, canvas.At(x, 10)) << "x " << x;
    }
    EXPECT_EQ(kWhite, canvas.At(4, 10));
    EXPECT_EQ(kWhite, canvas.At(45, 10)) << "the end point is not set";
    EXPECT_EQ(0, CountInRow(canvas, 9, kRed));
    EXPECT_EQ(0, CountInRow(canvas, 11, kRed));
}

TEST(LineControlsTest, ColourFallsBackToTheStyleAndWidthFollowsSize) {
    PaintSetup skins;
    skins.Styles("<class name=\"rule\" crbg=\"CECECE\"/>");
    Canvas canvas(50, 20, kWhite);
    auto rule =
        PlacedControl<CBkLine>("<hr pos=\"0,0,-0,-0\" class=\"rule\" size=\"3\"/>", kRuleArea);
    Paint(*rule, canvas);
    EXPECT_EQ(RGB(0xCE, 0xCE, 0xCE), canvas.At(20, 10));
    EXPECT_EQ(RGB(0xCE, 0xCE, 0xCE), canvas.At(20, 9)) << "3 pixels wide";
    EXPECT_EQ(RGB(0xCE, 0xCE, 0xCE), canvas.At(20, 11));
    EXPECT_EQ(kWhite, canvas.At(20, 13));
}

TEST(LineControlsTest, DottedRuleHasGaps) {
    Canvas canvas(50, 20, kWhite);
    auto rule =
        PlacedControl<CBkLine>("<hr pos=\"0,0,-0,-0\" crbg=\"FF0000\" style=\"dot\"/>", kRuleArea);
    EXPECT_EQ(BkLineStyle::kDot, rule->LineStyle());
    EXPECT_EQ(2, static_cast<int>(rule->LineStyle()));
    Paint(*rule, canvas);
    const int inked = CountInRow(canvas, 10, kRed);
    EXPECT_GT(inked, 5) << "dots are drawn";
    EXPECT_LT(inked, 38) << "with gaps between them";
    EXPECT_EQ(inked, 50 - CountInRow(canvas, 10, kWhite)) << "nothing but dots and paper";
}

TEST(LineControlsTest, StyleNamesOutsideTheFiveAreRefused) {
    auto rule = test::LoadControl<CBkLine>("<hr style=\"dashdotdot\"/>");
    EXPECT_EQ(BkLineStyle::kDashDotDot, rule->LineStyle());
    EXPECT_FALSE(rule->SetAttribute("style", "dotted", false));
    EXPECT_FALSE(rule->SetAttribute("style", "DOT", false)) << "names are case-sensitive";
    EXPECT_EQ(BkLineStyle::kDashDotDot, rule->LineStyle()) << "the old style is kept";
    EXPECT_TRUE(rule->SetAttribute("style", "dash", false));
    EXPECT_EQ(BkLineStyle::kDash, rule->LineStyle());
}

TEST(LineControlsTest, DiagonalLineDoesNotFillItsBox) {
    Canvas canvas(30, 30, kWhite);
    auto line =
        PlacedControl<CBkLine>("<hr pos=\"0,0,-0,-0\" crbg=\"FF0000\"/>", RECT{0, 0, 20, 20});
    Paint(*line, canvas);
    EXPECT_EQ(kRed, canvas.At(10, 10)) << "on the diagonal";
    EXPECT_EQ(kWhite, canvas.At(15, 3)) << "crbg is the line's colour, not a fill";
}

TEST(LineControlsTest, GdiplusRuleTakesTheStylesBackgroundAlpha) {
    PaintSetup skins;
    skins.Styles("<class name=\"soft\" crbg=\"0000FF\" alphabg=\"128\"/>");
    Canvas canvas(50, 20, kWhite);
    auto rule = PlacedControl<CBkLineEx>("<hrex pos=\"0,0,-0,-0\" class=\"soft\"/>", kRuleArea);
    Paint(*rule, canvas);
    bool blended = false;
    for (int y = 9; y <= 11; ++y) {
        blended = blended || ColorNear(RGB(127, 127, 255), canvas.At(25, y), 12);
    }
    EXPECT_TRUE(blended) << "half-transparent blue over white near row 10";
    EXPECT_EQ(kWhite, canvas.At(25, 14));

    Canvas opaque(50, 20, kWhite);
    auto solid = PlacedControl<CBkLineEx>("<hrex pos=\"0,0,-0,-0\" crbg=\"FF0000\"/>", kRuleArea);
    Paint(*solid, opaque);
    EXPECT_GT(CountInRow(opaque, 10, kRed) + CountInRow(opaque, 9, kRed), 30)
        << "the default style is opaque";
}

TEST(LineControlsTest, StyleAttributeTakesOnlyItsFiveNames) {
    auto line = LoadControl<CBkLine>("<hr crbg=\"CECECE\"/>");
    EXPECT_EQ(1, line->PenWidth());
    EXPECT_EQ(BkLineStyle::kSolid, line->LineStyle());
    EXPECT_EQ(RGB(0xCE, 0xCE, 0xCE), line->OwnBackgroundColor());

    auto dotted = LoadControl<CBkLineEx>("<hrex style=\"dot\" size=\"3\"/>");
    EXPECT_EQ(BkLineStyle::kDot, dotted->LineStyle());
    EXPECT_EQ(3, dotted->PenWidth());
    EXPECT_TRUE(dotted->SetAttribute("style", "dashdotdot", false));
    EXPECT_EQ(BkLineStyle::kDashDotDot, dotted->LineStyle());
    for (const char* refused : {"Dot", "dots", "", "2"}) {
        EXPECT_FALSE(dotted->SetAttribute("style", refused, false)) << refused;
        EXPECT_EQ(BkLineStyle::kDashDotDot, dotted->LineStyle()) << refused;
    }
}

}  // namespace
}  // namespace velora
