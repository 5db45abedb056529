#include <gtest/gtest.h>

#include "controls/list_controls.h"
#include "tests/support/load_control.h"

namespace velora {
namespace {

using test::LoadControl;

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

}  // namespace
}  // namespace velora
