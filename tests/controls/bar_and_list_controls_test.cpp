#include <gtest/gtest.h>

#include "controls/line_controls.h"
#include "controls/list_controls.h"
#include "controls/progress_controls.h"
#include "controls/rich_text_controls.h"
#include "controls/shape_controls.h"
#include "tests/support/load_control.h"

namespace velora {
namespace {

using test::LoadControl;

TEST(BarControlsTest, ProgressDefaultsAndUnsignedRange) {
    auto bar = LoadControl<CBkProgress>("<progress/>");
    EXPECT_EQ(2, bar->SkinPosX());
    EXPECT_EQ(0u, bar->Min());
    EXPECT_EQ(0u, bar->Max());
    EXPECT_EQ(0u, bar->Value());
    EXPECT_FALSE(bar->ShowPercent());
    EXPECT_FALSE(bar->Indeterminate());

    auto ex = LoadControl<CBkProgressEx>(
        "<progressex min=\"100\" max=\"0\" value=\"-1\" showpercent=\"1\" bgskin=\"progressbg\" "
        "posskin=\"progresspos\" extendtext=\"\xE2\x80\xA6\" posimg_left=\"0\"/>");
    EXPECT_EQ(100u, ex->Min()) << "stored as written; painting orders them";
    EXPECT_EQ(0u, ex->Max());
    EXPECT_EQ(0xFFFFFFFFu, ex->Value());
    EXPECT_TRUE(ex->ShowPercent());
    EXPECT_EQ("progressbg", ex->BackgroundSkin());
    EXPECT_EQ("progresspos", ex->PositionSkin());
    EXPECT_EQ(L"\x2026", ex->ExtendText());
    EXPECT_EQ(0, ex->PositionImageLeft());
    EXPECT_EQ(2, LoadControl<CBkProgressEx>("<progressex/>")->PositionImageLeft());

    EXPECT_TRUE(ex->SetAttribute("value", "50", false));
    EXPECT_EQ(50u, ex->Value());
    EXPECT_FALSE(bar->SetAttribute("extendtext", "x", false)) << "progressex only";
}

TEST(BarControlsTest, LineStyleTakesOnlyItsFiveNames) {
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

TEST(ListControlsTest, ListAndScrollBarDefaults) {
    auto list = LoadControl<CBkListWnd>("<listwnd/>");
    EXPECT_EQ("listscrollbar", list->ScrollBarTag());
    EXPECT_EQ(1, list->ExternLine());
    EXPECT_EQ(0, LoadControl<CBkListWnd>("<listwnd externline=\"0\"/>")->ExternLine());

    auto bar = LoadControl<CBkWindowScollBar>("<listscrollbar/>");
    EXPECT_EQ(0xC86EB5FFu, bar->BarColor());
    EXPECT_EQ(0xFF6EB5FFu, bar->HoverBarColor());
    EXPECT_TRUE(bar->SquareThumb());
    EXPECT_EQ(11, bar->BarWidth());
    EXPECT_EQ(0, bar->Range());

    auto custom = LoadControl<CBkWindowScollBar>(
        "<listscrollbar color_bar=\"80FF0000\" color_bar_hv=\"0xFF\" rectanglebar=\"0\" "
        "barwidth=\"7\"/>");
    EXPECT_EQ(0x80FF0000u, custom->BarColor());
    EXPECT_EQ(0u, custom->HoverBarColor()) << "a prefix is not hexadecimal";
    EXPECT_FALSE(custom->SquareThumb());
    EXPECT_EQ(7, custom->BarWidth());
}

TEST(ListControlsTest, ItemHeightRefusesNegativesAndMarksLayout) {
    auto item = LoadControl<CBkListItem>("<listitem height=\"270\"/>");
    EXPECT_EQ(270, item->ItemHeight());
    EXPECT_FALSE(item->InView());
    item->ClearLayoutPending();

    EXPECT_FALSE(item->SetAttribute("height", "-5", false));
    EXPECT_EQ(270, item->ItemHeight());
    EXPECT_TRUE(item->SetAttribute("height", "270", false));
    EXPECT_FALSE(item->LayoutPending()) << "same height, nothing to redo";
    EXPECT_TRUE(item->SetAttribute("height", "300", false));
    EXPECT_TRUE(item->LayoutPending());
    EXPECT_TRUE(item->SetAttribute("viewvisible", "1", false));
    EXPECT_TRUE(item->InView());
}

TEST(ShapeControlsTest, ShapeAndRichTextAttributes) {
    auto path = LoadControl<CBkRoundRectPath>(
        "<rundrectpath rndwidht=\"6\" rndheight=\"8\" bdrawbg=\"1\" crline=\"FF8000\"/>");
    EXPECT_EQ(6, path->CornerWidth()) << "the base class's attributes";
    EXPECT_EQ(8, path->CornerHeight());
    EXPECT_TRUE(path->DrawsBackground());
    EXPECT_EQ(RGB(0xFF, 0x80, 0x00), path->LineColor());
    EXPECT_EQ(255, path->LineAlpha());

    auto slider = LoadControl<BkSlider>(
        "<slider sliderpos=\"40\" skinbg=\"bg\" skin=\"thumb\" bgleftmargin=\"3\" "
        "bgbottommargin=\"4\"/>");
    EXPECT_EQ(40, slider->SliderPosition());
    EXPECT_EQ("bg", slider->BackgroundSkin());
    EXPECT_EQ(3, slider->BackgroundMargins().left);
    EXPECT_EQ(0, slider->BackgroundMargins().right);
    EXPECT_EQ(4, slider->BackgroundMargins().bottom);

    auto shadow = LoadControl<CBKShadowText>("<shadowtext crshaow=\"102030\" hovershadow=\"1\"/>");
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), shadow->ShadowColor());
    EXPECT_EQ(1, shadow->HoverShadow());

    auto rich = LoadControl<CBkRichTextEx>(
        "<richtextex defaultfont=\"104\" linkclass=\"linktext\" adjustpos=\"1\"/>");
    EXPECT_EQ(0x104u, rich->DefaultFontCode());
    EXPECT_EQ("linktext", rich->LinkClass());
    EXPECT_EQ(0u, LoadControl<CBkRichText>("<richtext defaultfont=\"1g\"/>")->DefaultFontCode());
    EXPECT_EQ(
        1, LoadControl<CBkRichText2Wnd>("<richtext2 checkdcvieworg=\"1\"/>")->CheckDcViewOrigin());
}

}  // namespace
}  // namespace velora
