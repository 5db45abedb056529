// Progress bars: range handling, text, fill geometry, marquee steps.
#include <gtest/gtest.h>

#include "controls/progress_controls.h"
#include "tests/support/control_paint_support.h"
#include "tests/support/load_control.h"

namespace velora {
namespace {

using test::LoadControl;
using test::NaturalSize;
using test::Paint;
using test::PaintCanvas;
using test::PaintSetup;
using test::Place;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kPaper = RGB(10, 20, 30);
constexpr COLORREF kGreen = RGB(0, 0xC0, 0);

std::unique_ptr<CBkProgress> Bar(const std::string& attributes) {
    return LoadControl<CBkProgress>("<progress " + attributes + "/>");
}

TEST(ProgressRangeTest, ValueIsClampedAndTheRangeOrderedAndStored) {
    auto bar = Bar("min=\"0\" max=\"100\" value=\"1\"");
    EXPECT_EQ(1, bar->Percent());
    EXPECT_EQ(L"1%", bar->PercentText(bar->Percent()));
    bar->SetAttribute("value", "150", false);
    EXPECT_EQ(100, bar->Percent());
    EXPECT_EQ(100u, bar->Value()) << "the clamped value is stored";
    EXPECT_DOUBLE_EQ(1.0, bar->Fraction());

    auto swapped = Bar("min=\"100\" max=\"0\" value=\"25\"");
    EXPECT_EQ(25, swapped->Percent());
    EXPECT_EQ(0u, swapped->Min());
    EXPECT_EQ(100u, swapped->Max());

    auto empty = Bar("min=\"7\" max=\"7\" value=\"9\"");
    EXPECT_EQ(0, empty->Percent());
    EXPECT_DOUBLE_EQ(0.0, empty->Fraction());
    EXPECT_EQ(9u, empty->Value()) << "a zero-width range changes nothing";

    auto below = Bar("min=\"10\" max=\"20\" value=\"3\"");
    EXPECT_EQ(0, below->Percent());
    EXPECT_EQ(10u, below->Value());

    auto wide = Bar("min=\"0\" max=\"4294967295\" value=\"4294967295\"");
    EXPECT_EQ(100, wide->Percent()) << "the whole unsigned range";
    for (unsigned value = 0; value <= 100; ++value) {
        auto exact = Bar("min=\"0\" max=\"100\" value=\"" + std::to_string(value) + "\"");
        EXPECT_EQ(static_cast<int>(value), exact->Percent()) << "no rounding loss at " << value;
    }
}

TEST(ProgressRangeTest, ExtendedBarAppendsItsText) {
    auto bar = LoadControl<CBkProgressEx>(
        "<progressex min=\"0\" max=\"100\" value=\"50\" extendtext=\"\xE2\x80\xA6\"/>");
    EXPECT_EQ(L"50%\x2026", bar->PercentText(bar->Percent())) << "UTF-8 read as UTF-16";
}

TEST(ProgressPaintTest, PercentTextIsSplitInTwoColoursAtTheFillEdge) {
    PaintSetup setup;
    setup.Styles("<class name=\"p\" crtext=\"000000\" font=\"0804\"/>");
    auto bar =
        Bar("class=\"p\" crbg=\"FFFF00\" min=\"0\" max=\"100\" value=\"50\" showpercent=\"1\" "
            "pos=\"0,0,200,30\"");
    Place(*bar);
    PaintCanvas canvas(200, 30, kPaper);
    Paint(*bar, canvas.Dc());
    const int edge = 2 + 196 / 2;  // plain fill: inset 2, half of 196
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF yellow = RGB(255, 255, 0);
    EXPECT_EQ(RGB(0x42, 0x61, 0x90), canvas.At(10, 15)) << "the plain fill colour";
    EXPECT_EQ(kWhite, canvas.At(190, 15)) << "the empty part keeps the DC's brush";
    EXPECT_EQ(RGB(0x70, 0x70, 0x70), canvas.At(199, 15)) << "outline";
    EXPECT_GT(canvas.Count(yellow, {edge - 30, 0, edge, 30}, 60), 0) << "light text on the fill";
    EXPECT_EQ(0, canvas.Count(black, {edge - 30, 0, edge, 30}, 60)) << "no dark text on the fill";
    EXPECT_GT(canvas.Count(black, {edge, 0, edge + 30, 30}, 60), 0) << "dark text past the fill";
    EXPECT_EQ(0, canvas.Count(yellow, {edge, 0, 200, 30}, 60)) << "no light text past the fill";

    auto silent = Bar("class=\"p\" min=\"0\" max=\"100\" value=\"50\" pos=\"0,0,200,30\"");
    Place(*silent);
    canvas.Fill(kPaper);
    Paint(*silent, canvas.Dc());
    EXPECT_EQ(0, canvas.Count(black, {edge, 0, 200, 30}, 60)) << "no text without showpercent";
}

TEST(ProgressPaintTest, ClipRegionOfTheDcIsGivenBack) {
    auto bar = Bar("max=\"10\" value=\"5\" showpercent=\"1\" pos=\"0,0,100,20\"");
    Place(*bar);
    PaintCanvas canvas(100, 20, kPaper);
    Paint(*bar, canvas.Dc());
    ScopedRegion probe(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(0, ::GetClipRgn(canvas.Dc(), probe.Get())) << "no clip before, none after";

    ScopedRegion clip(::CreateRectRgn(0, 0, 70, 20));
    ::SelectClipRgn(canvas.Dc(), clip.Get());
    canvas.Fill(kPaper);
    Paint(*bar, canvas.Dc());
    ASSERT_EQ(1, ::GetClipRgn(canvas.Dc(), probe.Get()));
    EXPECT_TRUE(::EqualRgn(probe.Get(), clip.Get())) << "the caller's clip is put back";
    EXPECT_EQ(kPaper, canvas.At(80, 10)) << "and was honoured";
}

// "fill": an 8 x 8 green picture; "back": a 6-pixel-high picture.
void LoadBarSkins(PaintSetup& setup) {
    const std::string fill = setup.Picture(8, {{8, 0xFF00C000}});
    const std::string back = setup.Picture(6, {{8, 0xFF0000D0}});
    setup.Skins("<png name=\"fill\" src=\"" + fill + "\"/><png name=\"back\" src=\"" + back +
                "\"/>");
}

TEST(ProgressPaintTest, FillSkinInsetIsLimitedToHalfTheWidth) {
    PaintSetup setup;
    LoadBarSkins(setup);
    auto bar = Bar("posskin=\"fill\" max=\"10\" value=\"10\" pos=\"0,0,100,8\"");
    Place(*bar);
    PaintCanvas canvas(100, 8, kPaper);
    for (int inset : {2, 10}) {  // 2 by default
        if (inset != 2) {
            bar->SetAttribute("skinposx", std::to_string(inset), false);
        }
        canvas.Fill(kPaper);
        Paint(*bar, canvas.Dc());
        EXPECT_EQ(kGreen, canvas.At(inset, 4)) << inset;
        EXPECT_EQ(kGreen, canvas.At(99 - inset, 4)) << inset;
        EXPECT_NE(kGreen, canvas.At(inset - 1, 4)) << inset;
        EXPECT_NE(kGreen, canvas.At(100 - inset, 4)) << inset;
    }
    for (const char* inset : {"1000", "-1"}) {
        bar->SetAttribute("skinposx", inset, false);
        canvas.Fill(kPaper);
        Paint(*bar, canvas.Dc());
        EXPECT_EQ(0, canvas.Count(kGreen, {0, 0, 100, 8})) << "empty fill area for " << inset;
    }

    auto ex = LoadControl<CBkProgressEx>(
        "<progressex posskin=\"fill\" max=\"10\" value=\"5\" posimg_left=\"20\" "
        "skinposx=\"1000\" pos=\"0,0,100,8\"/>");
    Place(*ex);
    canvas.Fill(kPaper);
    Paint(*ex, canvas.Dc());
    EXPECT_EQ(kGreen, canvas.At(20, 4)) << "progressex takes posimg_left";
    EXPECT_EQ(kGreen, canvas.At(49, 4));
    EXPECT_NE(kGreen, canvas.At(51, 4));
    ex->SetAttribute("posimg_left", "80", false);
    canvas.Fill(kPaper);
    Paint(*ex, canvas.Dc());
    EXPECT_EQ(0, canvas.Count(kGreen, {0, 0, 100, 8})) << "insets passing each other fill nothing";
}

TEST(ProgressPaintTest, PlainFillOfProgressExUsesItsInset) {
    const COLORREF fill = RGB(0x42, 0x61, 0x90);
    for (int inset : {6, 2}) {  // 2 by default
        const std::string attribute = inset == 2 ? "" : " posimg_left=\"6\"";
        auto ex = LoadControl<CBkProgressEx>("<progressex max=\"4\" value=\"4\"" + attribute +
                                             " pos=\"0,0,50,10\"/>");
        Place(*ex);
        PaintCanvas canvas(50, 10, kPaper);
        Paint(*ex, canvas.Dc());
        EXPECT_EQ(fill, canvas.At(inset, 2)) << inset;
        EXPECT_EQ(fill, canvas.At(49 - inset, 7)) << inset;
        EXPECT_NE(fill, canvas.At(inset - 1, 5)) << inset;
        EXPECT_NE(fill, canvas.At(50 - inset, 5)) << inset;
        EXPECT_NE(fill, canvas.At(20, 1)) << inset;
    }
}

TEST(ProgressSizeTest, BackgroundSkinGivesTheHeight) {
    PaintSetup setup;
    LoadBarSkins(setup);
    auto bar = Bar("bgskin=\"back\"");
    EXPECT_EQ(6, NaturalSize(*bar).cy);
    auto missing = Bar("bgskin=\"nothing\"");
    EXPECT_EQ(0, NaturalSize(*missing).cy);
}

TEST(ProgressMarqueeTest, BlockGrowsSlidesShrinksAndStartsAgain) {
    auto bar = Bar("progressbar=\"1\" pos=\"0,0,200,20\"");
    Place(*bar);
    PaintCanvas canvas(200, 20, kPaper);
    const auto step = [&] {
        canvas.Fill(kPaper);
        Paint(*bar, canvas.Dc());
        return std::make_pair(bar->MarqueeBlock().left, bar->MarqueeBlock().right);
    };
    using Block = std::pair<LONG, LONG>;
    for (LONG width = 10; width <= 40; width += 10) {
        EXPECT_EQ(Block(2, 2 + width), step()) << "growing";
    }
    for (LONG left = 12; left <= 162; left += 10) {
        EXPECT_EQ(Block(left, left + 40), step()) << "sliding";
        if (left == 62) {
            const COLORREF fill = RGB(0x42, 0x61, 0x90);
            EXPECT_EQ(fill, canvas.At(63, 10));
            EXPECT_EQ(fill, canvas.At(101, 10));
            EXPECT_NE(fill, canvas.At(61, 10));
            EXPECT_NE(fill, canvas.At(103, 10));
        }
    }
    EXPECT_EQ(RGB(0x70, 0x70, 0x70), canvas.At(199, 10))
        << "a block past the end is drawn inside the bar";
    // At the end the block alternately slides past the bar and is cut back
    // to it; what shows is cut to the bar, so it shrinks one step a paint.
    EXPECT_EQ(Block(172, 200), step()) << "shrinking";
    EXPECT_EQ(Block(182, 210), step());
    EXPECT_EQ(0, canvas.Count(RGB(0x42, 0x61, 0x90), {0, 0, 182, 20}));
    EXPECT_EQ(RGB(0x42, 0x61, 0x90), canvas.At(190, 10));
    EXPECT_EQ(Block(192, 200), step());
    EXPECT_EQ(Block(202, 210), step());
    EXPECT_EQ(0, canvas.Count(RGB(0x42, 0x61, 0x90), {0, 0, 200, 20})) << "nothing left to show";
    EXPECT_EQ(Block(2, 2), step()) << "left the bar: starts again";
    EXPECT_EQ(Block(2, 12), step());
}

TEST(ProgressRangeTest, DefaultsAndAnUnsignedRangeStoredAsWritten) {
    auto bar = LoadControl<CBkProgress>("<progress/>");
    EXPECT_EQ(0u, bar->Min());
    EXPECT_EQ(0u, bar->Max());
    EXPECT_EQ(0u, bar->Value());

    auto ex = LoadControl<CBkProgressEx>(
        "<progressex min=\"100\" max=\"0\" value=\"-1\" showpercent=\"1\" bgskin=\"progressbg\" "
        "posskin=\"progresspos\" extendtext=\"\xE2\x80\xA6\" posimg_left=\"0\"/>");
    EXPECT_EQ(100u, ex->Min()) << "stored as written; painting orders them";
    EXPECT_EQ(0u, ex->Max());
    EXPECT_EQ(0xFFFFFFFFu, ex->Value());
    EXPECT_EQ("progressbg", ex->BackgroundSkin());

    EXPECT_TRUE(ex->SetAttribute("value", "50", false));
    EXPECT_EQ(50u, ex->Value());
    EXPECT_FALSE(bar->SetAttribute("extendtext", "x", false)) << "progressex only";
}

}  // namespace
}  // namespace velora
