#include "controls/image_controls.h"

#include <gtest/gtest.h>

#include <string>

#include "controls/skin_button_controls.h"
#include "controls/skin_image_controls.h"
#include "controls/source_image_controls.h"
#include "tests/support/load_control.h"

namespace velora {
namespace {

using test::LoadControl;

TEST(ImageControlsTest, ImageDefaultsAndAttributes) {
    auto plain = LoadControl<CBkImageWnd>("<img/>");
    EXPECT_EQ(-1, plain->Sub());
    EXPECT_EQ(-1, plain->IconTop());
    EXPECT_EQ(-1, plain->CaptionTop());
    EXPECT_EQ(-1, plain->Alpha());
    EXPECT_EQ(0, plain->ClipType());
    EXPECT_EQ(0u, plain->Clip().Count());

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
    EXPECT_EQ(1, button->ClipType());
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
    EXPECT_TRUE(cut->Stretch());
    EXPECT_EQ(-4, cut->TopDraw());
    EXPECT_FALSE(cell->SetAttribute("stretch", "1", false)) << "imgex has no stretch";

    auto expanded = LoadControl<CBkExpendImg>(
        "<expendimg margin_left=\"1\" margin_top=\"2\" margin_right=\"3\" margin_bottom=\"4\"/>");
    EXPECT_EQ(255, expanded->SkinAlpha());
    EXPECT_EQ(1, expanded->Margins().left);
    EXPECT_EQ(2, expanded->Margins().top);
    EXPECT_EQ(3, expanded->Margins().right);
    EXPECT_EQ(4, expanded->Margins().bottom);

    auto sized = LoadControl<CBkImgbtnsized>("<imgbtnsized skin=\"a\" skinmid=\"b\" left=\"6\"/>");
    EXPECT_EQ("b", sized->MiddleSkin());
    EXPECT_EQ(6, sized->Inset());
    auto scroll = LoadControl<CBkImageScroll>("<scrollimg vscroll=\"1\" vpos=\"30\"/>");
    EXPECT_TRUE(scroll->ScrollsVertically());
    EXPECT_FALSE(scroll->ScrollsHorizontally());
    EXPECT_EQ(30, scroll->VerticalPosition());
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
        EXPECT_FALSE(control->AutoDelete());
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

}  // namespace
}  // namespace velora
