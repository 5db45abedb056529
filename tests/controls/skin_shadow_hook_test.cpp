// The dialogs' shadow picture and the shadow window's default picture, both
// drawn by the nine-grid routine from skins of the skin pool.
#include "controls/skin_shadow_hook.h"

#include <gtest/gtest.h>

#include "tests/support/control_paint_support.h"

namespace velora {
namespace {

using test::Argb;
using test::PaintSetup;

int AlphaAt(const ShadowCanvas& canvas, int x, int y) {
    return static_cast<int>(canvas.PixelAt(x, y) >> 24);
}

// A square picture: a `border`-pixel frame of alpha `edge` round a middle of
// alpha `middle`, all black.
Argb FramedShadow(int side, int border, std::uint32_t edge, std::uint32_t middle) {
    Argb pixels;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool frame = x < border || y < border || x >= side - border || y >= side - border;
            pixels.push_back((frame ? edge : middle) << 24);
        }
    }
    return pixels;
}

TEST(SkinShadowHookTest, DrawsTheSkinOverTheWholeShadowWithItsBordersKept) {
    PaintSetup skins;
    skins.Png("mainwnd_shadow", 20, 20, FramedShadow(20, 6, 0x80, 0x20));
    skins.Load();
    SkinShadowHook hook;
    EXPECT_EQ("mainwnd_shadow", hook.Picture().Skin());

    const ShadowCanvas canvas = RenderShadowPicture({300, 200, 400, 280}, 5, &hook);
    ASSERT_TRUE(canvas.IsValid());
    ASSERT_EQ(110, canvas.Width());
    EXPECT_NEAR(0x80, AlphaAt(canvas, 0, 0), 3) << "corner";
    EXPECT_NEAR(0x80, AlphaAt(canvas, 5, 45), 3) << "left border";
    EXPECT_NEAR(0x20, AlphaAt(canvas, 7, 45), 12) << "border stays 6 pixels wide";
    EXPECT_NEAR(0x20, AlphaAt(canvas, 55, 45), 3) << "middle stretched";
    EXPECT_NEAR(0x80, AlphaAt(canvas, 104, 45), 3) << "right border";
    EXPECT_NEAR(0x80, AlphaAt(canvas, 109, 89), 3) << "far corner";
    EXPECT_NEAR(0x80, AlphaAt(canvas, 55, 88), 3) << "bottom border";
}

TEST(SkinShadowHookTest, MissingSkinLeavesTheShadowClear) {
    PaintSetup skins;
    skins.Load();
    SkinShadowHook hook("no_such_shadow", 6);
    const ShadowCanvas canvas = RenderShadowPicture({0, 0, 40, 30}, 5, &hook);
    ASSERT_TRUE(canvas.IsValid());
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            ASSERT_EQ(0u, canvas.PixelAt(x, y)) << x << "," << y;
        }
    }
}

TEST(SkinShadowHookTest, DefaultPictureIsTheDialogShadowSkinWithAClearMiddle) {
    PaintSetup skins;
    // 10 x 10: corners of (10 - 2) / 2 = 4 pixels.
    skins.Png(kDefaultShadowSkin, 10, 10, FramedShadow(10, 4, 0xC0, 0xFF));
    skins.Load();
    const ShadowCanvas canvas = RenderShadowPicture({0, 0, 100, 80}, 5, nullptr);
    ASSERT_TRUE(canvas.IsValid());
    EXPECT_NEAR(0xC0, AlphaAt(canvas, 0, 0), 3);
    EXPECT_NEAR(0xC0, AlphaAt(canvas, 3, 3), 3) << "4-pixel corner";
    EXPECT_NEAR(0xC0, AlphaAt(canvas, 55, 1), 3) << "top edge stretched";
    EXPECT_NEAR(0xC0, AlphaAt(canvas, 1, 45), 3) << "left edge stretched";
    EXPECT_NEAR(0xC0, AlphaAt(canvas, 109, 89), 3);
    EXPECT_EQ(0, AlphaAt(canvas, 55, 45)) << "the middle stays clear";
    EXPECT_EQ(0, AlphaAt(canvas, 5, 5));

    SkinShadowHook declined("no_such_shadow");
    const ShadowCanvas hooked = RenderShadowPicture({0, 0, 100, 80}, 5, &declined);
    EXPECT_EQ(0, AlphaAt(hooked, 0, 0)) << "a hook's answer 0 keeps its own picture";
}

}  // namespace
}  // namespace velora
