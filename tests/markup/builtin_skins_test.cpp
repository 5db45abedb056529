// The installer's own skin table and pictures, as linked into this program.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "markup/bitmap_pool.h"
#include "markup/image_pools.h"
#include "markup/skin_pool.h"
#include "tests/support/skin_test_support.h"

namespace velora {
namespace {

using test::Canvas;

using test::kPaper;

class BuiltInSkinsTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(BkSkinObjectPool::Instance().Load(kSkinTableId)); }

    static CBkSkinBase* Skin(const char* name) {
        return BkSkinObjectPool::Instance().GetSkin(name);
    }

    // Draws skin `name` for `state` into a fresh canvas of `width` x `height`.
    static void DrawInto(Canvas& canvas, const char* name, int state) {
        CBkSkinBase* skin = Skin(name);
        ASSERT_NE(nullptr, skin);
        skin->Draw(canvas.Dc(), {0, 0, canvas.Width(), canvas.Height()}, state);
    }
};

TEST_F(BuiltInSkinsTest, EveryNamedSkinExistsWithThePictureSizeItDeclares) {
    const struct {
        const char* name;
        const char* kind;
        LONG width, height;
    } expected[] = {{"dlg_btn_close", "png", 16, 13},     {"dlg_btn_min", "png", 16, 13},
                    {"corvane_btn_inst", "png", 196, 48}, {"cust_install_down", "png", 16, 16},
                    {"cust_install_up", "png", 16, 16},   {"progressbg", "imghorzex", 0, 4},
                    {"progresspos", "imghorzex", 0, 4},   {"common_btn", "button", 0, 0},
                    {"tipbg", "gradation", 0, 0},         {"mainwnd_shadow", "png", 16, 16},
                    {"msgtip_icon", "png", 32, 32},       {"big_logo", "png", 116, 28},
                    {"cmn_checkbox", "png", 13, 13},      {"cmn_checkbox_check", "png", 13, 13},
                    {"cmn_radio", "png", 12, 12},         {"cmn_radio_check", "png", 12, 12},
                    {"dlg_header", "jpg", 0, 0},          {"dlg_body", "imglst", 0, 0},
                    {"cmn_tab_icon", "png", 0, 0}};
    for (const auto& e : expected) {
        CBkSkinBase* skin = Skin(e.name);
        ASSERT_NE(nullptr, skin) << e.name;
        EXPECT_STREQ(e.kind, skin->GetObjectClass()) << e.name;
        EXPECT_EQ(e.width, skin->GetSkinSize().cx) << e.name;
        EXPECT_EQ(e.height, skin->GetSkinSize().cy) << e.name;
    }
    EXPECT_EQ(nullptr, Skin("dlg_footer")) << "named by a style, not defined";
    EXPECT_EQ(47u, BkPngPool::Instance().Get(100).width);
    EXPECT_EQ(784u, BkPngPool::Instance().Get(60008).width);
    EXPECT_EQ(48u, BkPngPool::Instance().Get(60008).height);
}

TEST_F(BuiltInSkinsTest, ResourceIdsBeyondSixteenBitsNameNothing) {
    ASSERT_TRUE(BkPngPool::Instance().Get(100).image.IsValid());
    EXPECT_FALSE(BkPngPool::Instance().Get(0x10000 + 100).image.IsValid());
    ASSERT_NE(nullptr, BkBmpPool::Instance().Get(503));
    EXPECT_EQ(nullptr, BkBmpPool::Instance().Get(0x10000 + 503));
}

TEST_F(BuiltInSkinsTest, CloseButtonShowsFramesZeroOneZeroOne) {
    std::vector<std::unique_ptr<Canvas>> drawn;
    for (int state = 0; state < 4; ++state) {
        drawn.push_back(std::make_unique<Canvas>(16, 13, kPaper));
        DrawInto(*drawn.back(), "dlg_btn_close", state);
    }
    EXPECT_FALSE(drawn[0]->SamePixels(Canvas(16, 13, kPaper))) << "frame 0 shows a glyph";
    EXPECT_FALSE(drawn[0]->SamePixels(*drawn[1]));
    EXPECT_TRUE(drawn[0]->SamePixels(*drawn[2])) << "pushed repeats frame 0 (47 / 16 = 2 frames)";
    EXPECT_TRUE(drawn[1]->SamePixels(*drawn[3])) << "disabled repeats frame 1";
}

TEST_F(BuiltInSkinsTest, InstallButtonShowsFrameNForStateN) {
    std::vector<std::unique_ptr<Canvas>> drawn;
    for (int state = 0; state < 5; ++state) {
        drawn.push_back(std::make_unique<Canvas>(196, 48, kPaper));
        DrawInto(*drawn.back(), "corvane_btn_inst", state);
    }
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b) {
            EXPECT_FALSE(drawn[a]->SamePixels(*drawn[b])) << "states " << a << " and " << b;
        }
    }
    EXPECT_TRUE(drawn[4]->SamePixels(*drawn[0]));
    EXPECT_EQ(kPaper, drawn[0]->At(0, 0)) << "rounded corner stays clear";
}

// Bitmap 503's pixels as COLORREFs, row by row.
std::vector<COLORREF> BitmapPixels(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> raw(static_cast<std::size_t>(width) * height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), raw.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    std::vector<COLORREF> pixels;
    for (std::uint32_t p : raw) {
        pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    return pixels;
}

TEST_F(BuiltInSkinsTest, ProgressTrackHasCapsAtOneToOneAndTransparentMagenta) {
    CBkSkinBase* skin = Skin("progressbg");
    ASSERT_NE(nullptr, skin);
    const std::vector<COLORREF> bitmap = BitmapPixels(BkBmpPool::Instance().Get(503), 4, 4);
    const auto expect = [&](COLORREF source) {
        return source == RGB(255, 0, 255) ? kPaper : source;
    };
    ASSERT_EQ(RGB(255, 0, 255), bitmap[0]) << "the corners are the transparent key";

    Canvas wide(100, 8, kPaper);
    skin->Draw(wide.Dc(), {0, 0, 100, 8}, 0);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 100; ++x) {
            const int column = x < 2 ? x : x == 99 ? 3 : 2;
            ASSERT_EQ(expect(bitmap[y * 4 + column]), wide.At(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(kPaper, wide.At(50, 4)) << "the bar is always 4 pixels high";

    Canvas narrow(8, 4, kPaper);
    skin->Draw(narrow.Dc(), {2, 0, 5, 4}, 0);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(expect(bitmap[4 + x]), narrow.At(2 + x, 1)) << "widened to 4, column " << x;
    }
    EXPECT_EQ(kPaper, narrow.At(6, 1));
}

TEST_F(BuiltInSkinsTest, TipBackgroundRunsFromWhiteToLavenderTopToBottom) {
    Canvas canvas(20, 40, kPaper);
    DrawInto(canvas, "tipbg", 0);
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), canvas.At(10, 0));
    EXPECT_TRUE(test::ColorNear(RGB(0xE4, 0xE5, 0xF0), canvas.At(10, 39), 2));
    EXPECT_EQ(canvas.At(0, 20), canvas.At(19, 20)) << "rows are flat";
    EXPECT_GT(GetRValue(canvas.At(10, 10)), GetRValue(canvas.At(10, 30)));
}

}  // namespace
}  // namespace velora
