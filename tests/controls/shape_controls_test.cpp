// Rounded rectangles, shadowed text, the slider, and the GDI handle balance
// of every picture control.
#include "controls/shape_controls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/line_controls.h"
#include "controls/skin_button_controls.h"
#include "controls/skin_image_controls.h"
#include "controls/source_image_controls.h"
#include "tests/support/control_paint_support.h"
#include "tests/support/test_host_window.h"
#include "ui/notification.h"
#include "controls/rich_text_controls.h"
#include "tests/support/load_control.h"

namespace velora {
namespace {

using test::Canvas;
using test::ColorNear;
using test::Flat;
using test::LoadControl;
using test::Paint;
using test::PaintSetup;
using test::PlacedControl;

constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST(ShapeControlsTest, RoundRectFillsInsideItsCornersOnly) {
    Canvas canvas(40, 30, kWhite);
    auto control = PlacedControl<CBkRoundRect>(
        "<rundrect pos=\"0,0,-0,-0\" crbg=\"0000FF\" rndwidht=\"16\" rndheight=\"16\"/>",
        RECT{0, 0, 40, 30});
    Paint(*control, canvas);
    EXPECT_TRUE(ColorNear(RGB(0, 0, 255), canvas.At(20, 15), 2));
    EXPECT_TRUE(ColorNear(RGB(0, 0, 255), canvas.At(20, 1), 2)) << "straight top edge";
    EXPECT_EQ(kWhite, canvas.At(0, 0)) << "the corner is cut round";
    EXPECT_EQ(kWhite, canvas.At(39, 29));

    Canvas bare(40, 30, kWhite);
    auto colourless =
        PlacedControl<CBkRoundRect>("<rundrect pos=\"0,0,-0,-0\"/>", RECT{0, 0, 40, 30});
    Paint(*colourless, bare);
    EXPECT_TRUE(bare.SamePixels(Canvas(40, 30, kWhite))) << "no colour, nothing drawn";
}

TEST(ShapeControlsTest, RoundRectPathOutlinesAndFillsOnRequest) {
    Canvas canvas(40, 30, kWhite);
    auto outlined = PlacedControl<CBkRoundRectPath>(
        "<rundrectpath pos=\"0,0,-0,-0\" crbg=\"00FF00\" crline=\"FF0000\" rndwidht=\"8\" "
        "rndheight=\"8\"/>",
        RECT{0, 0, 40, 30});
    Paint(*outlined, canvas);
    EXPECT_EQ(kWhite, canvas.At(20, 15)) << "not filled without bdrawbg";
    EXPECT_GT(GetRValue(canvas.At(20, 0)), 200) << "outline on the top edge";
    EXPECT_LT(GetGValue(canvas.At(20, 0)), 140);

    Canvas filled(40, 30, kWhite);
    auto both = PlacedControl<CBkRoundRectPath>(
        "<rundrectpath pos=\"0,0,-0,-0\" bdrawbg=\"1\" crbg=\"00FF00\" crline=\"FF0000\" "
        "crlinealpha=\"0\"/>",
        RECT{0, 0, 40, 30});
    Paint(*both, filled);
    EXPECT_TRUE(ColorNear(RGB(0, 255, 0), filled.At(20, 15), 2));
    EXPECT_TRUE(ColorNear(RGB(0, 255, 0), filled.At(20, 0), 40)) << "an invisible outline";
}

TEST(ShapeControlsTest, ShadowTextShadowFollowsHover) {
    PaintSetup skins;
    skins.Styles("<class name=\"label\" crtext=\"000000\" textmode=\"20\"/>");
    auto control = PlacedControl<CBKShadowText>(
        "<shadowtext pos=\"0,0,-0,-0\" class=\"label\" normalshadow=\"0\" hovershadow=\"3\" "
        "crshaow=\"FF0000\">WWWW</shadowtext>",
        RECT{0, 0, 80, 30});
    EXPECT_EQ(0, control->ShadowOffset());
    EXPECT_TRUE(control->RedrawOnStateChange());
    const auto redPixels = [](const Canvas& canvas) {
        int count = 0;
        for (int y = 0; y < canvas.Height(); ++y) {
            for (int x = 0; x < canvas.Width(); ++x) {
                const COLORREF c = canvas.At(x, y);
                count += GetRValue(c) > 180 && GetGValue(c) < 100 ? 1 : 0;
            }
        }
        return count;
    };
    Canvas plain(80, 30, kWhite);
    Paint(*control, plain);
    EXPECT_EQ(0, redPixels(plain)) << "no shadow at rest";
    EXPECT_FALSE(plain.SamePixels(Canvas(80, 30, kWhite))) << "the text itself";

    control->ModifyState(ControlState::kHover, ControlState::kNone);
    EXPECT_EQ(3, control->ShadowOffset());
    Canvas hovered(80, 30, kWhite);
    Paint(*control, hovered);
    EXPECT_GT(redPixels(hovered), 5) << "red shadow while hovered";
}

TEST(ShapeControlsTest, SliderDragMovesTheThumbAndNotifiesTheHost) {
    PaintSetup skins;
    test::Argb track;  // grey with two red columns on each side
    for (int i = 0; i < 12 * 4; ++i) {
        track.push_back(i % 12 < 2 || i % 12 >= 10 ? 0xFFE00000u : 0xFF808080u);
    }
    skins.Png("track", 12, 4, track, "");
    skins.Png("thumb", 10, 10, Flat(10, 10, 0xFF0000D0), "");
    skins.Load();
    test::TestHostWindow host;
    auto slider = PlacedControl<BkSlider>(
        "<slider id=\"31\" pos=\"0,0,-0,-0\" skinbg=\"track\" skin=\"thumb\" sliderpos=\"5\" "
        "bgleftmargin=\"2\" bgrightmargin=\"2\"/>",
        RECT{10, 10, 110, 20});
    slider->SetContainer(host.Handle());
    EXPECT_EQ(15, slider->ThumbRect().left);

    Canvas canvas(120, 30, kWhite);
    Paint(*slider, canvas);
    EXPECT_TRUE(ColorNear(RGB(0, 0, 0xD0), canvas.At(18, 15), 4)) << "thumb at sliderpos";
    const COLORREF grey = RGB(0x80, 0x80, 0x80);
    const COLORREF red = RGB(0xE0, 0, 0);
    // The edges keep their size; the middle is stretched (blending into them).
    EXPECT_TRUE(ColorNear(grey, canvas.At(60, 15), 4)) << "track stretched";
    EXPECT_TRUE(ColorNear(red, canvas.At(11, 15), 4) && ColorNear(red, canvas.At(108, 15), 4));
    EXPECT_TRUE(ColorNear(grey, canvas.At(14, 15), 4)) << "left edge 2 wide";
    EXPECT_TRUE(ColorNear(grey, canvas.At(94, 15), 20)) << "right edge 2 wide";

    // Grab the thumb 3 pixels in, drag right, then far past the end.
    slider->SendControlMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(18, 15));
    slider->SendControlMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(48, 15));
    EXPECT_EQ(35, slider->SliderPosition());
    slider->SendControlMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 15));
    EXPECT_EQ(90, slider->SliderPosition()) << "the thumb stays inside";
    slider->SendControlMessage(WM_LBUTTONUP, 0, MAKELPARAM(500, 15));
    slider->SendControlMessage(WM_MOUSEMOVE, 0, MAKELPARAM(30, 15));
    EXPECT_EQ(90, slider->SliderPosition()) << "no drag after release";

    std::vector<int> positions;
    for (const auto& record : host.Records()) {
        if (record.code == kNotifySliderPos) {
            EXPECT_EQ(31u, record.controlId);
            EXPECT_EQ("slider", record.classTag);
            positions.push_back(record.subCode);
        }
    }
    EXPECT_EQ((std::vector<int>{35, 90}), positions) << "one record per change";
}

// Every picture control this unit paints, in one tree of owners.
std::vector<std::unique_ptr<CBkWindow>> EveryPictureControl(HICON icon) {
    std::vector<std::unique_ptr<CBkWindow>> controls;
    const RECT area = {0, 0, 40, 30};
    const std::string pos = " pos=\"0,0,-0,-0\"";
    controls.push_back(
        PlacedControl<CBkImageEx>("<imgex" + pos + " skin=\"cell\" alpha=\"99\"/>", area));
    controls.push_back(
        PlacedControl<CBkImageEx2>("<imgex2" + pos + " skin=\"cell\" stretch=\"1\"/>", area));
    controls.push_back(
        PlacedControl<CBkImageBg>("<imgbg" + pos + " skin=\"cell\" fill=\"1\"/>", area));
    controls.push_back(PlacedControl<CBkImageBg>("<imgbg" + pos + " skin=\"cell\"/>", area));
    controls.push_back(
        PlacedControl<CBkImageScroll>("<scrollimg" + pos + " skin=\"cell\" vscroll=\"1\"/>", area));
    controls.push_back(
        PlacedControl<CBkImageRotale>("<imgrotale" + pos + " skin=\"cell\" angle=\"30\"/>", area));
    controls.push_back(
        PlacedControl<CBkImgGray>("<imggray" + pos + " skin=\"cell\" gray=\"1\"/>", area));
    controls.push_back(PlacedControl<CBkExpendImg>(
        "<expendimg" + pos + " skin=\"cell\" skinalpha=\"80\" margin_left=\"2\"/>", area));
    controls.push_back(PlacedControl<CBkLine>("<hr" + pos + " style=\"dash\" size=\"2\"/>", area));
    controls.push_back(PlacedControl<CBkLineEx>("<hrex" + pos + " style=\"dot\"/>", area));
    controls.push_back(PlacedControl<CBkRoundRect>(
        "<rundrect" + pos + " crbg=\"123456\" rndwidht=\"5\" rndheight=\"5\"/>", area));
    controls.push_back(PlacedControl<CBkRoundRectPath>(
        "<rundrectpath" + pos + " bdrawbg=\"1\" crbg=\"123456\" crline=\"654321\"/>", area));
    controls.push_back(PlacedControl<CBKShadowText>(
        "<shadowtext" + pos + " normalshadow=\"2\">Aa</shadowtext>", area));
    controls.push_back(
        PlacedControl<BkSlider>("<slider" + pos + " skinbg=\"cell\" skin=\"cell\"/>", area));
    controls.push_back(
        PlacedControl<CBkSkinBtnWnd>("<skinbtn" + pos + " skin=\"cell\">Go</skinbtn>", area));
    controls.push_back(PlacedControl<CBkImgbtnsized>(
        "<imgbtnsized" + pos + " skin=\"cell\" skinmid=\"cell\" left=\"4\"/>", area));
    controls.push_back(PlacedControl<CBkIconWnd>("<icon" + pos + " oem=\"32512\"/>", area));
    controls.push_back(
        PlacedControl<CBkHIcon>("<hicon" + pos + " handle=\"" +
                                    std::to_string(reinterpret_cast<std::uintptr_t>(icon)) + "\"/>",
                                area));
    controls.push_back(PlacedControl<CBkStorageImage>(
        "<storageimage" + pos + " filepath=\"C:\\\\none.png\"/>", area));
    return controls;
}

TEST(ShapeControlsTest, PaintingEveryPictureControlKeepsTheGdiObjectCount) {
    PaintSetup skins;
    skins.Png("cell", 8, 8, Flat(8, 8, 0xC0E00000), "");
    skins.Load();
    HICON icon = ::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION));
    auto controls = EveryPictureControl(icon);
    Canvas canvas(40, 30, kWhite);
    for (auto& control : controls) {
        Paint(*control, canvas);  // first paints load icons and pictures
    }
    const long before = test::LiveGdiObjects();
    for (int round = 0; round < 40; ++round) {
        for (auto& control : controls) {
            Paint(*control, canvas);
        }
    }
    EXPECT_EQ(before, test::LiveGdiObjects()) << "GDI objects left behind by painting";
    controls.clear();
    ::DestroyIcon(icon);
}

TEST(ShapeControlsTest, ShapeAndRichTextAttributes) {
    auto path = LoadControl<CBkRoundRectPath>(
        "<rundrectpath rndwidht=\"6\" rndheight=\"8\" crline=\"FF8000\"/>");
    EXPECT_EQ(6, path->CornerWidth()) << "the base class's attributes";
    EXPECT_EQ(8, path->CornerHeight());
    EXPECT_EQ(RGB(0xFF, 0x80, 0x00), path->LineColor());

    auto slider = LoadControl<BkSlider>("<slider sliderpos=\"40\" skinbg=\"bg\"/>");
    EXPECT_EQ(40, slider->SliderPosition());
    EXPECT_EQ("bg", slider->BackgroundSkin());
    EXPECT_EQ(
        1, LoadControl<CBkRichText2Wnd>("<richtext2 checkdcvieworg=\"1\"/>")->CheckDcViewOrigin());
}

}  // namespace
}  // namespace velora
