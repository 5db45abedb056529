// Painting the buttons, toggles, images and bars must give back every GDI
// object it makes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/image_controls.h"
#include "controls/progress_controls.h"
#include "controls/toggle_controls.h"
#include "tests/support/control_paint_support.h"
#include "tests/support/load_control.h"

namespace velora {
namespace {

using test::LoadControl;
using test::PaintSetup;

TEST(ControlPaintLeakTest, ManyPaintsInEveryStateKeepTheGdiObjectCount) {
    PaintSetup setup;
    const std::string cells = setup.Picture(8, {{8, 0xFFE00000}, {8, 0xFF00C000}});
    setup.Skins("<png name=\"cells\" src=\"" + cells + "\" subwidth=\"8\"/>");
    setup.Styles("<class name=\"s\" crtext=\"000000\" hoverfont=\"0804\" crbg=\"FFFFFF\"/>");

    std::vector<std::unique_ptr<CBkWindow>> controls;
    const auto add = [&controls](auto control) {
        test::Place(*control);
        controls.push_back(std::move(control));
    };
    add(LoadControl<CBkCheckBox>("<check class=\"s\" pos=\"0,0,80,20\">HH</check>"));
    add(LoadControl<CBkRadioBox>("<radio class=\"s\" pos=\"0,0,80,20\">HH</radio>"));
    add(LoadControl<CBkImageBtnWnd>(
        "<imgbtn class=\"s\" skin=\"cells\" ico=\"cells\" mask=\"cells\" group=\"leak\" "
        "caption=\"HHHHHHHHHHHH\" pos=\"0,0,20,20\"/>"));
    for (const char* clip : {"0", "1", "2", "3", "7"}) {
        add(LoadControl<CBkImageWnd>(std::string("<img skin=\"cells\" alpha=\"40\" cliptype=\"") +
                                     clip + "\" clipparam=\"1,1,10,10,0,200\" pos=\"0,0,16,8\"/>"));
    }
    add(LoadControl<CBkProgress>(
        "<progress class=\"s\" max=\"9\" value=\"4\" showpercent=\"1\" pos=\"0,0,80,20\"/>"));
    add(LoadControl<CBkProgress>(
        "<progress bgskin=\"cells\" posskin=\"cells\" max=\"9\" value=\"4\" showpercent=\"1\" "
        "pos=\"0,0,80,20\"/>"));
    add(LoadControl<CBkProgress>(
        "<progress progressbar=\"1\" showpercent=\"1\" pos=\"0,0,80,20\"/>"));
    add(LoadControl<CBkProgressEx>(
        "<progressex class=\"s\" max=\"9\" value=\"4\" showpercent=\"1\" extendtext=\"...\" "
        "pos=\"0,0,80,20\"/>"));

    test::PaintCanvas canvas(80, 20, RGB(1, 2, 3));
    const auto round = [&] {
        for (auto& control : controls) {
            for (ControlState state :
                 {ControlState::kNone, ControlState::kHover, ControlState::kPushed,
                  ControlState::kChecked, ControlState::kDisabled | ControlState::kChecked}) {
                control->ModifyState(state, ~ControlState::kHidden);
                test::Paint(*control, canvas.Dc());
                test::NaturalSize(*control);
            }
            test::ButtonUp(*control, 5, 5);
        }
    };
    round();  // fonts, themes, GDI+ and the skins' kept bitmaps are made on first use
    const long before = test::LiveGdiObjects();
    for (int i = 0; i < 40; ++i) {
        round();
    }
    EXPECT_EQ(before, test::LiveGdiObjects()) << "GDI objects left behind by painting";
}

}  // namespace
}  // namespace velora
