#include "controls/toggle_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "controls/control_groups.h"
#include "controls/image_controls.h"
#include "tests/support/load_control.h"

namespace velora {
namespace {

using test::LoadControl;
using Handles = std::vector<std::int32_t>;

Handles Members(const char* group) {
    return BkControlGroups::Instance().Members(group);
}

TEST(ToggleControlsTest, CheckAndRadioKeepTheirSkinsAndCheckValue) {
    auto box = LoadControl<CBkCheckBox>("<check/>");
    EXPECT_FALSE(box->Check().has_value());
    EXPECT_EQ("cmn_checkbox", box->Skin());
    EXPECT_EQ("cmn_checkbox_check", box->SkinChecked());
    EXPECT_EQ(0u, box->State() & kStateChecked);

    auto radio = LoadControl<CBkRadioBox>("<radio check=\"1\" skin=\"r\" group=\"g\"/>");
    ASSERT_TRUE(radio->Check().has_value());
    EXPECT_EQ(1, *radio->Check());
    EXPECT_EQ("r", radio->Skin());
    EXPECT_EQ("cmn_radio_check", radio->SkinChecked());
    EXPECT_EQ("g", radio->Group());
}

TEST(ToggleControlsTest, RadiosWithoutGroupShareTheEmptyNamedGroup) {
    const Handles before = Members("");
    {
        auto first = LoadControl<CBkRadioBox>("<radio/>");
        auto second = LoadControl<CBkRadioBox>("<radio/>");
        Handles expected = before;
        expected.push_back(first->Handle());
        expected.push_back(second->Handle());
        EXPECT_EQ(expected, Members(""));
    }
    EXPECT_EQ(before, Members("")) << "destroyed radios leave their group";
}

TEST(ToggleControlsTest, ImagesJoinOnlyANamedGroup) {
    auto alone = LoadControl<CBkImageWnd>("<img/>");
    auto member = LoadControl<CBkImageBtnWnd>("<imgbtn group=\"tabs\"/>");
    CBkImageWnd unloaded;
    unloaded.SetAttribute("group", "other", true);
    EXPECT_EQ((Handles{member->Handle()}), Members("tabs"));
    const Handles unnamed = Members("");
    EXPECT_EQ(unnamed.end(), std::find(unnamed.begin(), unnamed.end(), alone->Handle()));
    EXPECT_TRUE(Members("other").empty()) << "joined only once the load is complete";
}

TEST(ToggleControlsTest, GroupRenamedAtRunTimeMovesTheMembership) {
    auto radio = LoadControl<CBkRadioBox>("<radio group=\"a\"/>");
    auto image = LoadControl<CBkImageBtnWnd>("<imgbtn group=\"a\"/>");
    radio->SetAttribute("group", "b", false);
    image->SetAttribute("group", "", false);
    EXPECT_TRUE(Members("a").empty()) << "no member listed under a name it no longer has";
    EXPECT_EQ((Handles{radio->Handle()}), Members("b"));
    radio.reset();
    EXPECT_TRUE(Members("b").empty());
}

}  // namespace
}  // namespace velora
