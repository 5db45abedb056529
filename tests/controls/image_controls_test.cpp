#include "controls/image_controls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/skin_image_controls.h"
#include "controls/source_image_controls.h"
#include "tests/support/load_control.h"
#include "tests/support/control_paint_support.h"

namespace velora {
namespace {

using test::LoadControl;

TEST(ImageControlsTest, ImageDefaultsAndAttributes) {
    auto plain = LoadControl<CBkImageWnd>("<img/>");
    EXPECT_EQ(-1, plain->Sub());
    EXPECT_EQ(-1, plain->IconTop());
    EXPECT_EQ(-1, plain->CaptionTop());
    EXPECT_EQ(-1, plain->Alpha());

    auto button = LoadControl<CBkImageBtnWnd>(
        "<imgbtn id=\"9\" skin=\"dlg_btn_close\" sub=\"2\" ico=\"i\" ico_top=\"5\" mask=\"m\" "
        "caption=\"\xE5\xAE\x89\xE8\xA3\x85\" caption_top=\"zz\" cliptype=\"1\" alpha=\"50\" "
        "bogus=\"1\"/>");
    EXPECT_EQ(9, button->Id()) << "the common attributes still apply";
    EXPECT_EQ("dlg_btn_close", button->Skin());
    EXPECT_EQ(2, button->Sub());
    EXPECT_EQ("i", button->Icon());
    EXPECT_EQ(5, button->IconTop());
    EXPECT_EQ("m", button->Mask());
    EXPECT_EQ(L"\x5B89\x88C5", button->Caption()) << "UTF-8 caption kept as UTF-16";
    EXPECT_EQ(0, button->CaptionTop()) << "malformed numbers read as 0";
    EXPECT_EQ(50, button->Alpha());
    EXPECT_FALSE(button->SetAttribute("bogus", "1", false));
}

TEST(ImageControlsTest, ClipParametersSkipEmptyItemsAndStopAtTwenty) {
    const ClipParams gaps = ClipParams::Parse("5,,-7,x,");
    EXPECT_EQ(3u, gaps.Count());
    EXPECT_EQ(5, gaps.At(0));
    EXPECT_EQ(-7, gaps.At(1));
    EXPECT_EQ(0, gaps.At(2)) << "a malformed item reads as 0";
    EXPECT_EQ(0, gaps.At(5)) << "missing items read as 0";

    std::string many;
    for (int i = 1; i <= 25; ++i) {
        many += std::to_string(i) + ",";
    }
    const ClipParams capped = ClipParams::Parse(many);
    EXPECT_EQ(ClipParams::kMax, capped.Count());
    EXPECT_EQ(20, capped.At(19));
    EXPECT_EQ(0, capped.At(20)) << "items past the twentieth are dropped, not stored";
    EXPECT_EQ(0u, ClipParams::Parse("").Count());
}

TEST(ImageControlsTest, SkinCellControlsKeepTheirOwnDefaults) {
    auto cell = LoadControl<CBkImageEx>("<imgex skin=\"big_logo\"/>");
    EXPECT_EQ("big_logo", cell->Skin());
    EXPECT_EQ(0, cell->Sub());
    EXPECT_EQ(255, cell->Alpha());

    auto cut = LoadControl<CBkImageEx2>("<imgex2 sub=\"3\" stretch=\"1\" topdraw=\"-4\"/>");
    EXPECT_EQ(3, cut->Sub()) << "the base class's attributes";
    EXPECT_FALSE(cell->SetAttribute("stretch", "1", false)) << "imgex has no stretch";
}

TEST(ImageControlsTest, AddressesKeepEveryBitOrReadAsNone) {
    EXPECT_EQ(3000000000u, ParseAddress("3000000000")) << "above the signed 32-bit range";
    EXPECT_EQ(0u, ParseAddress("99999999999999999999999")) << "does not fit a pointer";
    EXPECT_EQ(0u, ParseAddress("-5"));
    EXPECT_EQ(0u, ParseAddress("12ab"));
    EXPECT_EQ(0u, ParseAddress(""));

    auto image = LoadControl<CBkMemoryImage>("<memimage mempointer=\"3000000000\"/>");
    EXPECT_EQ(3000000000u, image->ImageAddress());
}

// Whether `icon` is still a live icon handle.
bool IconAlive(HICON icon) {
    ICONINFO info = {};
    if (!::GetIconInfo(icon, &info)) {
        return false;
    }
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    return true;
}

HICON NewIcon() {
    return ::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION));
}

std::string Number(HICON icon) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(icon));
}

TEST(ImageControlsTest, IconHandleIsDestroyedOnlyWhenOwned) {
    HICON borrowed = NewIcon();
    HICON owned = NewIcon();
    HICON replacement = NewIcon();
    ASSERT_TRUE(IconAlive(borrowed) && IconAlive(owned) && IconAlive(replacement));
    {
        auto control = LoadControl<CBkHIcon>("<hicon handle=\"" + Number(borrowed) + "\"/>");
        EXPECT_EQ(borrowed, control->Icon());
    }
    EXPECT_TRUE(IconAlive(borrowed)) << "not the control's to destroy";
    {
        auto control =
            LoadControl<CBkHIcon>("<hicon autodel=\"1\" handle=\"" + Number(owned) + "\"/>");
        control->SetAttribute("handle", Number(replacement), false);
        EXPECT_FALSE(IconAlive(owned)) << "a replaced owned handle must not leak";
        EXPECT_TRUE(IconAlive(replacement));
    }
    EXPECT_FALSE(IconAlive(replacement)) << "destroyed with the control";
    ::DestroyIcon(borrowed);
}

TEST(ImageControlsTest, CellIndexWrapsAndSurvivesNoCells) {
    EXPECT_EQ(1, WrapCellIndex(7, 3));
    EXPECT_EQ(2, WrapCellIndex(-1, 3));
    EXPECT_EQ(0, WrapCellIndex(0, 1));
    EXPECT_EQ(-1, WrapCellIndex(4, 0)) << "cells wider than the image";
    EXPECT_EQ(-1, WrapCellIndex(4, -2));
}

using test::ButtonUp;
using test::LoadControl;
using test::NaturalSize;
using test::Paint;
using test::PaintCanvas;
using test::PaintSetup;
using test::Place;

constexpr COLORREF kPaper = RGB(10, 20, 30);
constexpr COLORREF kRed = RGB(0xE0, 0, 0);
constexpr COLORREF kGreen = RGB(0, 0xC0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 0xD0);
constexpr COLORREF kYellow = RGB(0xE0, 0xE0, 0);

// "cells": four 8 x 8 cells, red, green, blue, yellow, one per state index;
// "dot": a 4 x 4 blue icon; "veil": a yellow mask.
void LoadButtonSkins(PaintSetup& setup) {
    const std::string cells =
        setup.Picture(8, {{8, 0xFFE00000}, {8, 0xFF00C000}, {8, 0xFF0000D0}, {8, 0xFFE0E000}});
    const std::string dot = setup.Picture(4, {{4, 0xFF0000D0}});
    const std::string veil = setup.Picture(20, {{20, 0xFFE0E000}});
    setup.Skins("<png name=\"cells\" src=\"" + cells + "\" subwidth=\"8\"/>" +
                "<png name=\"strip\" src=\"" + cells + "\"/>" + "<png name=\"dot\" src=\"" + dot +
                "\"/>" + "<png name=\"veil\" src=\"" + veil + "\"/>");
}

COLORREF CentreAfterPaint(CBkWindow& control) {
    PaintCanvas canvas(8, 8, kPaper);
    Paint(control, canvas.Dc());
    return canvas.At(4, 4);
}

TEST(ImageButtonPaintTest, SkinIndexFollowsTheStateWithoutASelection) {
    EXPECT_EQ(0, ImageButtonSkinIndex(ControlState::kNone, false, false));
    EXPECT_EQ(1, ImageButtonSkinIndex(ControlState::kHover, false, false));
    EXPECT_EQ(2, ImageButtonSkinIndex(ControlState::kHover | ControlState::kPushed, false, false));
    EXPECT_EQ(3, ImageButtonSkinIndex(ControlState::kPushed, true, false)) << "disabled wins";
    EXPECT_EQ(0, ImageButtonSkinIndex(ControlState::kChecked, false, false))
        << "checked means nothing";

    EXPECT_EQ(2, ImageButtonSkinIndex(ControlState::kChecked, false, true));
    EXPECT_EQ(2, ImageButtonSkinIndex(ControlState::kPushed, true, true));
    EXPECT_EQ(1, ImageButtonSkinIndex(ControlState::kHover, true, true))
        << "no disabled image in a group";
    EXPECT_EQ(0, ImageButtonSkinIndex(ControlState::kNone, true, true));

    PaintSetup setup;
    LoadButtonSkins(setup);
    auto button = LoadControl<CBkImageBtnWnd>("<imgbtn skin=\"cells\" pos=\"0,0,8,8\"/>");
    Place(*button);
    EXPECT_EQ(kRed, CentreAfterPaint(*button));
    button->ModifyState(ControlState::kHover, ControlState::kNone);
    EXPECT_EQ(kGreen, CentreAfterPaint(*button));
    button->ModifyState(ControlState::kPushed, ControlState::kNone);
    EXPECT_EQ(kBlue, CentreAfterPaint(*button));
    button->ModifyState(ControlState::kDisabled, ControlState::kNone);
    EXPECT_EQ(kYellow, CentreAfterPaint(*button));
}

TEST(ImageButtonPaintTest, GroupSelectionChangesTheIndexOfEveryMember) {
    PaintSetup setup;
    LoadButtonSkins(setup);
    auto first =
        LoadControl<CBkImageBtnWnd>("<imgbtn skin=\"cells\" group=\"g1\" pos=\"0,0,8,8\"/>");
    auto second =
        LoadControl<CBkImageBtnWnd>("<imgbtn skin=\"cells\" group=\"g1\" pos=\"0,0,8,8\"/>");
    Place(*first);
    Place(*second);
    second->ModifyState(ControlState::kDisabled, ControlState::kNone);
    EXPECT_EQ(kYellow, CentreAfterPaint(*second)) << "no selection yet: the usual rules";

    ButtonUp(*first, 4, 4);
    EXPECT_EQ(kBlue, CentreAfterPaint(*first)) << "the selected member";
    EXPECT_EQ(kRed, CentreAfterPaint(*second)) << "a selection exists: no disabled image";
}

TEST(ImageButtonPaintTest, ClicksToggleTheSelectionWithinAGroupOnly) {
    auto first = LoadControl<CBkImageBtnWnd>("<imgbtn group=\"g2\"/>");
    auto second = LoadControl<CBkImageBtnWnd>("<imgbtn group=\"g2\"/>");
    auto loose = LoadControl<CBkImageBtnWnd>("<imgbtn/>");

    ButtonUp(*first, 0, 0);
    EXPECT_TRUE(Has(first->State(), ControlState::kChecked));
    ButtonUp(*second, 0, 0);
    EXPECT_TRUE(Has(second->State(), ControlState::kChecked));
    EXPECT_FALSE(Has(first->State(), ControlState::kChecked)) << "the others lose the selection";
    ButtonUp(*second, 0, 0);
    EXPECT_FALSE(Has(second->State(), ControlState::kChecked)) << "a second click clears it";
    EXPECT_FALSE(Has(first->State(), ControlState::kChecked));

    ButtonUp(*loose, 0, 0);
    EXPECT_EQ(ControlState::kNone, loose->State()) << "no group: the click changes nothing";
    auto plain = LoadControl<CBkImageWnd>("<img group=\"g2\"/>");
    ButtonUp(*first, 0, 0);
    plain->ModifyState(ControlState::kChecked, ControlState::kNone);
    ButtonUp(*second, 0, 0);
    EXPECT_FALSE(Has(plain->State(), ControlState::kChecked))
        << "plain images in the group are members too";
    EXPECT_FALSE(Has(first->State(), ControlState::kChecked));
}

TEST(ImageButtonPaintTest, IconCentresUnlessItsTopIsOneOrMore) {
    PaintSetup setup;
    LoadButtonSkins(setup);
    for (const char* top : {"0", "-1", "5"}) {
        auto button = LoadControl<CBkImageBtnWnd>(std::string("<imgbtn ico=\"dot\" ico_top=\"") +
                                                  top + "\" pos=\"0,0,20,20\"/>");
        Place(*button);
        button->ModifyState(ControlState::kHover, ControlState::kNone);
        PaintCanvas canvas(20, 20, kPaper);
        Paint(*button, canvas.Dc());
        const int expectedTop = std::string(top) == "5" ? 5 : 8;
        EXPECT_EQ(16, canvas.Count(kBlue, {0, 0, 20, 20})) << top;
        EXPECT_EQ(16, canvas.Count(kBlue, {8, expectedTop, 12, expectedTop + 4})) << top;
    }
}

TEST(ImageButtonPaintTest, MaskCoversTheIconOnlyInTheNormalState) {
    PaintSetup setup;
    LoadButtonSkins(setup);
    auto button =
        LoadControl<CBkImageBtnWnd>("<imgbtn ico=\"dot\" mask=\"veil\" pos=\"0,0,20,20\"/>");
    Place(*button);
    PaintCanvas canvas(20, 20, kPaper);
    Paint(*button, canvas.Dc());
    EXPECT_EQ(kYellow, canvas.At(10, 10));
    EXPECT_EQ(kYellow, canvas.At(1, 1)) << "the mask spans the control";
    for (ControlState state : {ControlState::kHover, ControlState::kChecked}) {
        button->ModifyState(ControlState::kNone, ControlState::kHover | ControlState::kChecked);
        button->ModifyState(state, ControlState::kNone);
        canvas.Fill(kPaper);
        Paint(*button, canvas.Dc());
        EXPECT_EQ(kBlue, canvas.At(10, 10)) << static_cast<std::uint32_t>(state);
        EXPECT_EQ(kPaper, canvas.At(1, 1)) << static_cast<std::uint32_t>(state);
    }
}

TEST(ImageButtonPaintTest, CaptionWiderThanTheButtonIsCentredOnIt) {
    const RECT fits = ImageButtonCaptionRect({10, 20, 60, 40}, 3, {30, 12});
    EXPECT_EQ(10, fits.left);
    EXPECT_EQ(60, fits.right);
    EXPECT_EQ(23, fits.top);
    EXPECT_EQ(35, fits.bottom);
    const RECT wide = ImageButtonCaptionRect({50, 0, 60, 10}, -1, {31, 12});
    EXPECT_EQ(40, wide.left);
    EXPECT_EQ(71, wide.right) << "an odd excess still leaves room for the whole caption";
    EXPECT_EQ(-1, wide.top);

    PaintSetup setup;
    setup.Styles("<class name=\"c\" crtext=\"000000\"/>");
    auto button = LoadControl<CBkImageBtnWnd>(
        "<imgbtn class=\"c\" caption=\"HHHHHHHHHH\" caption_top=\"2\" pos=\"0,0,10,20\"/>");
    Place(*button, 50, 0);
    ASSERT_EQ(50, button->Rect().left);
    ASSERT_EQ(60, button->Rect().right);
    const COLORREF white = RGB(255, 255, 255);
    PaintCanvas canvas(120, 20, white);
    Paint(*button, canvas.Dc());
    const auto ink = canvas.InkColumns(white);
    ASSERT_GE(ink.first, 0);
    EXPECT_LT(ink.first, 45) << "spills over the left side";
    EXPECT_GT(ink.second, 65) << "and over the right side";
    EXPECT_NEAR(55.0, (ink.first + ink.second + 1) / 2.0, 1.0) << "equally";
}

TEST(ImageControlSizeTest, SkinCellSizeReplacesTheTextSize) {
    PaintSetup setup;
    LoadButtonSkins(setup);
    auto bare = LoadControl<CBkImageBtnWnd>("<imgbtn skin=\"cells\"/>");
    SIZE size = NaturalSize(*bare);
    EXPECT_EQ(8, size.cx);
    EXPECT_EQ(8, size.cy);
    auto worded = LoadControl<CBkImageWnd>("<img skin=\"cells\">HHHHHHHHHHHHHHHHHHHHHH</img>");
    size = NaturalSize(*worded);
    EXPECT_EQ(8, size.cx);
    EXPECT_EQ(8, size.cy);
    auto unknown = LoadControl<CBkImageWnd>("<img skin=\"nothing\">HHHH</img>");
    size = NaturalSize(*unknown);
    EXPECT_GT(size.cx, 8) << "without a skin the text size stands";
    EXPECT_GT(size.cy, 0);
}

TEST(ImagePaintTest, ClipTypesDrawWholeClippedTurnedOrNothing) {
    PaintSetup setup;
    LoadButtonSkins(setup);
    // The image takes its skin's size: one 8 x 8 cell of "cells", or the
    // whole 32 x 8 "strip" (red, green, blue, yellow columns of 8).
    const auto paint = [](const std::string& attributes) {
        auto image = LoadControl<CBkImageWnd>("<img " + attributes + "/>");
        Place(*image);
        auto canvas = std::make_unique<PaintCanvas>(32, 8, kPaper);
        Paint(*image, canvas->Dc());
        return canvas;
    };
    auto whole = paint("skin=\"cells\" sub=\"2\"");
    EXPECT_EQ(kBlue, whole->At(4, 4)) << "cliptype 0 draws the `sub` cell";
    EXPECT_EQ(kPaper, whole->At(12, 4));
    EXPECT_EQ(kBlue, paint("skin=\"cells\" sub=\"2\" cliptype=\"-3\"")->At(4, 4))
        << "negative draws as 0";

    auto rectangle = paint("skin=\"strip\" cliptype=\"2\" clipparam=\"4,0,8,8\"");
    EXPECT_EQ(kPaper, rectangle->At(2, 4));
    EXPECT_EQ(kRed, rectangle->At(5, 4));
    EXPECT_EQ(kGreen, rectangle->At(10, 4));
    EXPECT_EQ(kPaper, rectangle->At(13, 4));

    auto pie = paint("skin=\"strip\" cliptype=\"1\" clipparam=\"0,0,16,16,180,90\"");
    EXPECT_EQ(kRed, pie->At(3, 6)) << "inside the upper-left quarter disc";
    EXPECT_EQ(kPaper, pie->At(0, 0)) << "outside the arc";
    EXPECT_EQ(kPaper, pie->At(12, 4)) << "right of the quarter";

    auto faded = paint("skin=\"strip\" cliptype=\"2\" clipparam=\"0,0,16,8\" alpha=\"50\"");
    EXPECT_TRUE(test::ColorNear(RGB((0xE0 + 10) / 2, 10, 15), faded->At(3, 4), 3))
        << "half opacity over the paper";

    auto turned = paint("skin=\"strip\" cliptype=\"3\" clipparam=\"0,0,32,0,0,8\"");
    EXPECT_EQ(kRed, turned->At(3, 4));
    EXPECT_EQ(kGreen, turned->At(12, 4));
    EXPECT_EQ(kYellow, turned->At(28, 4));

    auto beyond = paint("skin=\"strip\" cliptype=\"4\" clipparam=\"0,0,16,8\"");
    EXPECT_EQ(32 * 8, beyond->Count(kPaper, {0, 0, 32, 8})) << "an unknown shape draws nothing";
}

}  // namespace
}  // namespace velora
