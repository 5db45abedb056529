#include "controls/toggle_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "controls/control_factory.h"
#include "controls/control_groups.h"
#include "controls/image_controls.h"
#include "tests/support/load_control.h"
#include "controls/text_controls.h"
#include "controls/visual_styles.h"
#include "tests/support/control_paint_support.h"
#include "tests/support/markup_sources.h"
#include "tests/support/modal_driver.h"
#include "ui/host_window.h"

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
    EXPECT_FALSE(Has(box->State(), ControlState::kChecked));

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

using test::ButtonUp;
using test::LoadControl;
using test::NaturalSize;
using test::Paint;
using test::PaintCanvas;
using test::PaintSetup;
using test::Place;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLabel = RGB(0, 0, 0xFF);

TEST(TogglePaintTest, ThemeStatesAndFrameFlagsFollowTheStateBits) {
    EXPECT_EQ(1, ToggleThemeState(ControlState::kNone, false));
    EXPECT_EQ(2, ToggleThemeState(ControlState::kHover, false));
    EXPECT_EQ(3, ToggleThemeState(ControlState::kHover | ControlState::kPushed, false));
    EXPECT_EQ(4, ToggleThemeState(ControlState::kPushed, true));
    EXPECT_EQ(5, ToggleThemeState(ControlState::kChecked, false));
    EXPECT_EQ(6, ToggleThemeState(ControlState::kChecked | ControlState::kHover, false));
    EXPECT_EQ(7, ToggleThemeState(ControlState::kChecked | ControlState::kPushed, false));
    EXPECT_EQ(8, ToggleThemeState(ControlState::kChecked | ControlState::kHover, true));

    EXPECT_EQ(0x800u, ToggleFrameFlags(ToggleGlyph::kCheckBox, ControlState::kNone, false));
    EXPECT_EQ(0x804u, ToggleFrameFlags(ToggleGlyph::kRadioButton, ControlState::kNone, false));
    EXPECT_EQ(0x800u | 0x100u | 0x1000u | 0x200u | 0x400u,
              ToggleFrameFlags(
                  ToggleGlyph::kCheckBox,
                  ControlState::kHover | ControlState::kPushed | ControlState::kChecked, true));
}

TEST(ToggleSizeTest, LabelWidthPlusTheGlyphAndAMinimumHeight) {
    auto box = LoadControl<CBkCheckBox>("<check/>");
    SIZE size = NaturalSize(*box);
    EXPECT_EQ(17, size.cx);
    EXPECT_EQ(13, size.cy);
    auto radio = LoadControl<CBkRadioBox>("<radio/>");
    size = NaturalSize(*radio);
    EXPECT_EQ(14, size.cx);
    EXPECT_EQ(12, size.cy);

    auto label = LoadControl<CBkStatic>("<text>Autostart HH</text>");
    const SIZE text = NaturalSize(*label);
    ASSERT_GT(text.cx, 0);
    auto labelled = LoadControl<CBkCheckBox>("<check>Autostart HH</check>");
    size = NaturalSize(*labelled);
    EXPECT_EQ(text.cx + 17, size.cx);
    EXPECT_EQ(std::max<LONG>(text.cy, 13), size.cy);
    auto labelledRadio = LoadControl<CBkRadioBox>("<radio>Autostart HH</radio>");
    size = NaturalSize(*labelledRadio);
    EXPECT_EQ(text.cx + 14, size.cx);
    EXPECT_EQ(std::max<LONG>(text.cy, 12), size.cy);
}

TEST(ToggleClickTest, CheckBoxTogglesOnlyWhenReleasedInside) {
    auto box = LoadControl<CBkCheckBox>("<check>HH</check>");
    Place(*box, 10, 10);
    const RECT rect = box->Rect();
    ButtonUp(*box, rect.right + 5, rect.top + 2);
    EXPECT_FALSE(Has(box->State(), ControlState::kChecked)) << "released outside";
    ButtonUp(*box, rect.right, rect.top);
    EXPECT_FALSE(Has(box->State(), ControlState::kChecked)) << "the right edge is outside";
    ButtonUp(*box, rect.left, rect.top);
    EXPECT_TRUE(Has(box->State(), ControlState::kChecked));
    ButtonUp(*box, rect.right - 1, rect.bottom - 1);
    EXPECT_FALSE(Has(box->State(), ControlState::kChecked)) << "a second click clears it";
}

TEST(ToggleClickTest, RadiosWithoutGroupExcludeEachOtherAndStayChecked) {
    auto first = LoadControl<CBkRadioBox>("<radio/>");
    auto second = LoadControl<CBkRadioBox>("<radio/>");
    auto elsewhere = LoadControl<CBkRadioBox>("<radio group=\"other\"/>");
    elsewhere->ModifyState(ControlState::kChecked, ControlState::kNone);

    ButtonUp(*first, -100, -100);
    EXPECT_TRUE(Has(first->State(), ControlState::kChecked)) << "the point is not tested";
    ButtonUp(*second, 0, 0);
    EXPECT_TRUE(Has(second->State(), ControlState::kChecked));
    EXPECT_FALSE(Has(first->State(), ControlState::kChecked))
        << "both are in the empty-named group";
    ButtonUp(*second, 0, 0);
    EXPECT_TRUE(Has(second->State(), ControlState::kChecked))
        << "clicking a checked radio keeps it";
    EXPECT_TRUE(Has(elsewhere->State(), ControlState::kChecked)) << "other groups are left alone";
}

// Where a toggle's glyph and label land: painted with and without its
// label, the glyph is what the unlabelled paint shows and the label is
// what the labelled paint adds.
struct ToggleInk {
    int labelLeft = -1;
    int glyphLeft = -1;
    int glyphRight = -1;
    int glyphTop = -1;
    int glyphBottom = -1;
};

template <typename Control>
ToggleInk PaintAndFindInk(ControlState state, int height) {
    const std::string tag = Control::kTag;
    const std::string open =
        "<" + tag + " class=\"l\" pos=\"0,0,80," + std::to_string(height) + "\">";
    auto bare = LoadControl<Control>(open + "</" + tag + ">");
    auto worded = LoadControl<Control>(open + "HHH</" + tag + ">");
    PaintCanvas plain(120, height, kWhite);
    PaintCanvas labelled(120, height, kWhite);
    for (CBkWindow* control :
         {static_cast<CBkWindow*>(bare.get()), static_cast<CBkWindow*>(worded.get())}) {
        Place(*control);
        control->ModifyState(state, ControlState::kNone);
    }
    Paint(*bare, plain.Dc());
    Paint(*worded, labelled.Dc());
    EXPECT_EQ(0, worded->Rect().left) << "the label offset is undone";
    ToggleInk ink;
    for (int x = 0; x < 120; ++x) {
        for (int y = 0; y < height; ++y) {
            if (plain.At(x, y) != labelled.At(x, y) && ink.labelLeft < 0) {
                ink.labelLeft = x;
            }
            if (plain.At(x, y) != kWhite) {
                ink.glyphLeft = ink.glyphLeft < 0 ? x : ink.glyphLeft;
                ink.glyphRight = std::max(ink.glyphRight, x);
                ink.glyphTop = ink.glyphTop < 0 ? y : std::min(ink.glyphTop, y);
                ink.glyphBottom = std::max(ink.glyphBottom, y);
            }
        }
    }
    return ink;
}

TEST(TogglePaintTest, GlyphAtTheLeftAndLabelAfterIt) {
    PaintSetup setup;
    setup.Styles("<class name=\"l\" crtext=\"0000FF\"/>");
    for (ControlState state :
         {ControlState::kNone, ControlState::kChecked,
          ControlState::kHover | ControlState::kChecked, ControlState::kDisabled}) {
        const ToggleInk ink = PaintAndFindInk<CBkCheckBox>(state, 20);
        EXPECT_GE(ink.labelLeft, 17) << static_cast<std::uint32_t>(state);
        EXPECT_LE(ink.labelLeft, 19) << static_cast<std::uint32_t>(state);
        EXPECT_EQ(0, ink.glyphLeft)
            << "a glyph is drawn, state " << static_cast<std::uint32_t>(state);
        EXPECT_LT(ink.glyphRight, 13) << static_cast<std::uint32_t>(state);
    }
    const ToggleInk ink = PaintAndFindInk<CBkRadioBox>(ControlState::kChecked, 30);
    EXPECT_GE(ink.labelLeft, 14);
    EXPECT_LE(ink.labelLeft, 16);
    EXPECT_EQ(0, ink.glyphLeft);
    EXPECT_LT(ink.glyphRight, 12);
    EXPECT_GE(ink.glyphTop, 9) << "the circle is centred vertically";
    EXPECT_LE(ink.glyphBottom, 20);

    auto radio = LoadControl<CBkRadioBox>("<radio class=\"l\">HHH</radio>");
    PaintCanvas canvas(80, 20, kWhite);
    Paint(*radio, canvas.Dc());
    EXPECT_EQ(static_cast<UINT>(DT_SINGLELINE | DT_VCENTER), radio->CachedDrawFormat())
        << "bottom alignment turned into vertical centring";
}

}  // namespace
}  // namespace velora

namespace velora {
namespace {

constexpr UINT kKeyLayoutId = 3961;

// Radios 21, 22 (hidden), 23 of one group and the check box 30, on a host
// with the installer's tiers, driven by keys through its modal loop.
TEST(ToggleKeysTest, ArrowsSelectWithinTheGroupAndSpaceToggles) {
    test::MarkupSources sources;
    sources.InFolder(kKeyLayoutId,
                     "<layer width=\"300\" height=\"200\"><body>"
                     "<radio id=\"21\" pos=\"10,10,100,26\" group=\"keys\">a</radio>"
                     "<radio id=\"22\" pos=\"10,30,100,46\" group=\"keys\" show=\"0\">b</radio>"
                     "<radio id=\"23\" pos=\"10,50,100,66\" group=\"keys\">c</radio>"
                     "<check id=\"30\" pos=\"10,80,100,96\">d</check></body></layer>");
    CBkDialogViewImplEx host(kKeyLayoutId, &CBkStandardTier::Instance(),
                             std::make_unique<CBkControlCreator>());
    host.SetShadowEnabled(false);
    const auto checked = [&host](int id) { return host.GetItemCheck(id); };
    const auto focused = [&host](int id) {
        return host.FocusedControl() == host.FindControl(id)->Handle();
    };
    struct Step {
        UINT key;
        int selected;  // focused and checked; the other radios are not checked
    };
    const Step steps[] = {{VK_DOWN, 23}, {VK_RIGHT, 21}, {VK_UP, 23}, {VK_LEFT, 21}};
    std::vector<std::function<void()>> script = {
        [&] { ASSERT_TRUE(host.FocusControl(host.FindControl(21)->Handle())); }};
    for (const Step& step : steps) {
        script.push_back([step] { test::PostKey(step.key); });
        script.push_back([&, step] {
            EXPECT_TRUE(focused(step.selected)) << step.key;
            EXPECT_TRUE(checked(step.selected)) << step.key;
            EXPECT_FALSE(checked(step.selected == 21 ? 23 : 21)) << step.key;
            EXPECT_FALSE(checked(22)) << "hidden: passed over";
        });
    }
    script.push_back([&] {
        ASSERT_TRUE(host.FocusControl(host.FindControl(30)->Handle()));
        test::PostKey(VK_SPACE);
    });
    script.push_back([&] {
        EXPECT_TRUE(checked(30));
        test::PostKey(VK_DOWN);
    });
    script.push_back([&] {
        EXPECT_TRUE(focused(30)) << "a check box has no group to move in";
        host.EndDialog(0);
    });
    test::RunStepsFromMessageLoop(40, std::move(script));
    host.DoModal(nullptr);
    test::DropPendingActions();
}

}  // namespace
}  // namespace velora
