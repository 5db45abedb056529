#include <gtest/gtest.h>

#include "controls/list_controls.h"
#include "tests/support/load_control.h"

namespace velora {
namespace {

using test::LoadControl;

TEST(ListControlsTest, ScrollBarDefaults) {
    auto bar = LoadControl<CBkWindowScollBar>("<listscrollbar/>");
    EXPECT_EQ(11, bar->BarWidth());
    EXPECT_EQ(0, bar->Range());
    EXPECT_EQ(7, LoadControl<CBkWindowScollBar>("<listscrollbar barwidth=\"7\"/>")->BarWidth());
}

TEST(ListControlsTest, ItemHeightRefusesNegatives) {
    auto item = LoadControl<CBkListItem>("<listitem height=\"270\"/>");
    EXPECT_EQ(270, item->ItemHeight());
    EXPECT_FALSE(item->InView());
    EXPECT_FALSE(item->SetAttribute("height", "-5", false));
    EXPECT_EQ(270, item->ItemHeight());
    EXPECT_TRUE(item->SetAttribute("viewvisible", "1", false));
    EXPECT_TRUE(item->InView());
}

}  // namespace
}  // namespace velora
