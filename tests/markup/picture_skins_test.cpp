// "png", "jpg" and the file skins, drawn into 32-bit DIBs.
#include <gtest/gtest.h>

#include <string>

#include "markup/png_skin.h"
#include "markup/prepared_bitmap_pool.h"
#include "markup/skin_pool.h"
#include "tests/support/skin_test_support.h"

namespace velora {
namespace {

using test::Argb;
using test::Canvas;
using test::ColorNear;
using test::Columns;
using test::SkinSources;

using test::kBlue;
using test::kBlueColor;
using test::kGreen;
using test::kGreenColor;
using test::kPaper;
using test::kRed;
using test::kRedColor;
constexpr std::uint32_t kYellow = 0xFFF0F000;
constexpr COLORREF kYellowColor = RGB(0xF0, 0xF0, 0);

std::string Entry(const char* tag, const char* name, UINT src, const std::string& more = "") {
    return std::string("<") + tag + " name=\"" + name + "\" src=\"" + std::to_string(src) + "\" " +
           more + "/>";
}

TEST(PictureSkinTest, StripFrameIsTheStateModuloTheFrameCount) {
    SkinSources sources;
    // 47 columns hold two whole 16-wide frames; the last 15 are never shown.
    const UINT two =
        sources.Png(test::EncodePng(47, 13, Columns(13, {{16, kRed}, {16, kGreen}, {15, kBlue}})));
    const UINT four = sources.Png(
        test::EncodePng(32, 4, Columns(4, {{8, kRed}, {8, kGreen}, {8, kBlue}, {8, kYellow}})));
    sources.Table(5320, Entry("png", "two", two, "subwidth=\"16\"") +
                            Entry("png", "four", four, "subwidth=\"8\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5320));
    CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin("two");
    const COLORREF twoFrames[] = {kRedColor, kGreenColor, kRedColor, kGreenColor};
    for (int state = 0; state < 4; ++state) {
        Canvas canvas(16, 13, kPaper);
        skin->Draw(canvas.Dc(), {0, 0, 16, 13}, state);
        EXPECT_EQ(twoFrames[state], canvas.At(0, 0)) << "state " << state;
        EXPECT_EQ(twoFrames[state], canvas.At(15, 12)) << "state " << state;
    }
    Canvas whole(16, 13, kPaper);
    skin->Draw(whole.Dc(), {0, 0, 16, 13}, -1);
    EXPECT_EQ(kGreenColor, whole.At(8, 6)) << "-1 read as unsigned: 0xFFFFFFFF mod 2 = 1";

    skin = BkSkinObjectPool::Instance().GetSkin("four");
    const COLORREF fourFrames[] = {kRedColor,    kGreenColor, kBlueColor,
                                   kYellowColor, kRedColor,   kGreenColor};
    for (int state = 0; state < 6; ++state) {
        Canvas canvas(8, 4, kPaper);
        skin->Draw(canvas.Dc(), {0, 0, 8, 4}, state);
        EXPECT_EQ(fourFrames[state], canvas.At(4, 2)) << "state " << state;
    }
}

TEST(PictureSkinTest, HalfTransparentPixelsBlendPremultiplied) {
    SkinSources sources;
    const UINT id = sources.Png(test::EncodePng(4, 4, Argb(16, 0x80C86400)));  // (200,100,0) a 128
    sources.Table(5321, Entry("png", "glass", id, "subwidth=\"4\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5321));
    CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin("glass");
    Canvas canvas(8, 8, RGB(255, 255, 255));
    skin->Draw(canvas.Dc(), {0, 0, 8, 8}, 0);
    // Once: 200 * 128 / 255 + 255 * 127 / 255 and likewise for green and blue.
    EXPECT_TRUE(ColorNear(RGB(227, 177, 127), canvas.At(6, 6), 2)) << "stretched centre only";
    // The top-left frame is also copied at its natural size first: twice blended.
    EXPECT_TRUE(ColorNear(RGB(213, 138, 63), canvas.At(1, 1), 2));
}

TEST(PictureSkinTest, MarginsKeepTheirSizeWhileTheMiddleStretches) {
    SkinSources sources;
    // A 10 x 10 frame: a 2-pixel blue ring, a green middle, a red top-left corner.
    Argb frame(100, kGreen);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            if (x < 2 || y < 2 || x >= 8 || y >= 8) {
                frame[y * 10 + x] = (x < 2 && y < 2) ? kRed : kBlue;
            }
        }
    }
    const UINT id = sources.Png(test::EncodePng(10, 10, frame));
    sources.Table(5322, Entry("png", "panel", id,
                              "subwidth=\"10\" margin_left=\"2\" margin_right=\"2\" "
                              "margin_top=\"2\" margin_bottom=\"2\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5322));
    Canvas canvas(50, 40, kPaper);
    BkSkinObjectPool::Instance().GetSkin("panel")->Draw(canvas.Dc(), {5, 5, 45, 35}, 0);
    EXPECT_EQ(kRedColor, canvas.At(6, 6));
    EXPECT_EQ(kBlueColor, canvas.At(44, 34)) << "bottom-right corner";
    EXPECT_EQ(kGreenColor, canvas.At(7, 7));
    EXPECT_EQ(kGreenColor, canvas.At(42, 32));
    for (int i : {5, 6}) {
        EXPECT_EQ(kBlueColor, canvas.At(25, i)) << "top edge row " << i;
        EXPECT_EQ(kBlueColor, canvas.At(i, 20)) << "left edge column " << i;
    }
    for (int i : {43, 44}) {
        EXPECT_EQ(kBlueColor, canvas.At(i, 20)) << "right edge column " << i;
    }
    for (int i : {33, 34}) {
        EXPECT_EQ(kBlueColor, canvas.At(25, i)) << "bottom edge row " << i;
    }
    EXPECT_EQ(kPaper, canvas.At(4, 4));
    EXPECT_EQ(kPaper, canvas.At(45, 35));
}

TEST(PictureSkinTest, SinglePictureIsAThreePartBarWithStretchedOrTiledMiddle) {
    SkinSources sources;
    const UINT bar =
        sources.Png(test::EncodePng(10, 6, Columns(6, {{3, kRed}, {5, kGreen}, {2, kBlue}})));
    // Middle columns: one yellow, then five green; tiles are six wide.
    const UINT tile = sources.Png(
        test::EncodePng(8, 4, Columns(4, {{1, kRed}, {1, kYellow}, {5, kGreen}, {1, kBlue}})));
    sources.Table(
        5323,
        Entry("png", "bar", bar, "margin_left=\"3\" margin_right=\"2\"") +
            Entry("png", "tiled", tile, "margin_left=\"1\" margin_right=\"1\" middle_tile=\"1\"") +
            Entry("png", "stretched", tile, "margin_left=\"1\" margin_right=\"1\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5323));

    Canvas canvas(50, 6, kPaper);
    BkSkinObjectPool::Instance().GetSkin("bar")->Draw(canvas.Dc(), {0, 0, 50, 6}, 0);
    EXPECT_EQ(kRedColor, canvas.At(2, 3));
    EXPECT_EQ(kGreenColor, canvas.At(3, 3));
    EXPECT_EQ(kGreenColor, canvas.At(47, 3));
    EXPECT_EQ(kBlueColor, canvas.At(48, 3));
    EXPECT_EQ(kBlueColor, canvas.At(49, 3));

    Canvas tiled(16, 4, kPaper);
    BkSkinObjectPool::Instance().GetSkin("tiled")->Draw(tiled.Dc(), {0, 0, 16, 4}, 0);
    EXPECT_EQ(kRedColor, tiled.At(0, 1));
    for (int x : {1, 7, 13}) {
        EXPECT_EQ(kYellowColor, tiled.At(x, 1)) << "a tile starts at " << x;
    }
    for (int x : {6, 12, 14}) {
        EXPECT_EQ(kGreenColor, tiled.At(x, 1)) << x;
    }
    EXPECT_EQ(kBlueColor, tiled.At(15, 1));

    Canvas stretched(16, 4, kPaper);
    BkSkinObjectPool::Instance().GetSkin("stretched")->Draw(stretched.Dc(), {0, 0, 16, 4}, 0);
    EXPECT_EQ(kGreenColor, stretched.At(13, 1)) << "without middle_tile the middle stretches";
}

TEST(PictureSkinTest, FlipMirrorsWithoutTurningTheSharedPicture) {
    SkinSources sources;
    const UINT id = sources.Png(test::EncodePng(4, 2, Columns(2, {{2, kRed}, {2, kBlue}})));
    sources.Table(5324, Entry("png", "flipped", id, "flip=\"1\" subwidth=\"4\"") +
                            Entry("png", "plain", id, "subwidth=\"4\"") +
                            Entry("png", "turned", id, "fliptype=\"2\" subwidth=\"4\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5324));
    Canvas canvas(4, 2, kPaper);
    BkSkinObjectPool::Instance().GetSkin("flipped")->Draw(canvas.Dc(), {0, 0, 4, 2}, 0);
    EXPECT_EQ(kBlueColor, canvas.At(0, 0));
    EXPECT_EQ(kRedColor, canvas.At(3, 0));
    BkSkinObjectPool::Instance().GetSkin("plain")->Draw(canvas.Dc(), {0, 0, 4, 2}, 0);
    EXPECT_EQ(kRedColor, canvas.At(0, 0)) << "the shared picture is turned back";
    BkSkinObjectPool::Instance().GetSkin("turned")->Draw(canvas.Dc(), {0, 0, 4, 2}, 0);
    EXPECT_EQ(kBlueColor, canvas.At(0, 0)) << "RotateFlipType 2 turns the picture half round";
}

TEST(PictureSkinTest, OtherOperationsTileGreyMirrorAndFade) {
    SkinSources sources;
    const UINT id = sources.Png(test::EncodePng(4, 4, Columns(4, {{2, kRed}, {2, kBlue}})));
    sources.Table(5325, Entry("png", "tile", id));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5325));
    CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin("tile");

    Canvas tiles(10, 10, kPaper);
    skin->DrawTiled(tiles.Dc(), {0, 0, 10, 10});
    EXPECT_EQ(kRedColor, tiles.At(4, 4));
    EXPECT_EQ(kBlueColor, tiles.At(7, 7));
    EXPECT_EQ(kPaper, tiles.At(8, 1)) << "only whole pictures are tiled";
    EXPECT_EQ(kPaper, tiles.At(1, 9));

    Canvas grey(4, 4, kPaper);
    skin->DrawGray(grey.Dc(), {0, 0, 4, 4}, {0, 0, 4, 4});
    EXPECT_EQ(RGB(67, 67, 67), grey.At(0, 0)) << "(0 * 59 + 224 * 30 + 0 * 11) / 100";

    Canvas mirrored(4, 4, kPaper);
    skin->DrawMirrored(mirrored.Dc(), {0, 0, 4, 4});
    EXPECT_EQ(kBlueColor, mirrored.At(0, 0));
    EXPECT_EQ(kRedColor, mirrored.At(3, 0));

    Canvas faded(4, 4, RGB(255, 255, 255));
    skin->DrawPartAlpha(faded.Dc(), {0, 0, 2, 2}, {2, 0, 4, 2}, 255);
    skin->DrawPartAlpha(faded.Dc(), {2, 0, 4, 2}, {0, 0, 2, 2}, 0);
    EXPECT_EQ(kBlueColor, faded.At(0, 0)) << "source columns 2-3 at full alpha";
    EXPECT_EQ(RGB(255, 255, 255), faded.At(3, 0)) << "alpha 0 leaves the target";
}

TEST(PictureSkinTest, JpegFrameIsTheStateWithoutModulo) {
    SkinSources sources;
    const Argb strip = Columns(16, {{16, kRed}, {16, kBlue}});
    const UINT jpeg = sources.Jpeg(test::EncodeJpeg(32, 16, strip));
    const UINT png = sources.Png(test::EncodePng(32, 16, strip));
    sources.Table(5326, Entry("jpg", "photo", jpeg, "subwidth=\"16\"") +
                            Entry("png", "picture", png, "subwidth=\"16\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5326));
    CBkSkinBase* photo = BkSkinObjectPool::Instance().GetSkin("photo");
    EXPECT_EQ(16, photo->GetSkinSize().cx);
    EXPECT_EQ(16, photo->GetSkinSize().cy);
    const COLORREF expected[] = {kRedColor, kBlueColor};
    for (int state = 0; state < 2; ++state) {
        Canvas canvas(16, 16, kPaper);
        photo->Draw(canvas.Dc(), {0, 0, 16, 16}, state);
        EXPECT_TRUE(ColorNear(expected[state], canvas.At(8, 8), 24)) << "state " << state;
    }
    Canvas beyond(16, 16, kPaper);
    photo->Draw(beyond.Dc(), {0, 0, 16, 16}, 2);
    EXPECT_EQ(kPaper, beyond.At(8, 8)) << "frame 2 lies outside the picture";
    BkSkinObjectPool::Instance().GetSkin("picture")->Draw(beyond.Dc(), {0, 0, 16, 16}, 2);
    EXPECT_EQ(kRedColor, beyond.At(8, 8)) << "a PNG strip wraps to frame 0";
}

TEST(PictureSkinTest, FileSkinsDrawOnlyOnceTheirPictureIsPrepared) {
    SkinSources sources;
    const UINT id = SkinSources::FreshId();
    sources.Table(5327, Entry("skinpng", "file", id, "file=\"a.png\" alpha=\"255\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5327));
    Canvas canvas(4, 4, kPaper);
    CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin("file");
    ASSERT_NE(nullptr, skin);
    skin->Draw(canvas.Dc(), {0, 0, 4, 4}, 0);
    EXPECT_EQ(kPaper, canvas.At(1, 1));
    EXPECT_EQ(0, skin->GetSkinSize().cy);

    Dib32 picture = Dib32::Create(2, 2);
    for (int i = 0; i < 4; ++i) {
        picture.Pixels()[i] = 0xFF00C000;  // opaque green, premultiplied
    }
    ASSERT_TRUE(BkSkinPool::Instance().Put(id, std::move(picture)));
    skin = BkSkinObjectPool::Instance().GetSkin("file");
    EXPECT_EQ(2, skin->GetSkinSize().cx);
    skin->Draw(canvas.Dc(), {0, 0, 4, 4}, 0);
    EXPECT_EQ(kGreenColor, canvas.At(3, 1)) << "stretched across, as high as the picture";
}

TEST(PictureSkinTest, ExtremeNumbersNeitherWrapNorRunAway) {
    SkinSources sources;
    const UINT id =
        sources.Png(test::EncodePng(4, 4, Columns(4, {{1, kRed}, {2, kGreen}, {1, kBlue}})));
    const UINT bmp = SkinSources::FreshId();
    sources.BitmapFile(bmp, test::EncodeBmp24(2, 1, {kRed, kRed}));
    sources.Table(
        5328,
        Entry("png", "huge", id, "subwidth=\"4\" margin_left=\"2147483647\"") +
            Entry("png", "negative", id, "subwidth=\"-3\"") +
            Entry("png", "tiles", id, "margin_left=\"1\" margin_right=\"1\" middle_tile=\"1\"") +
            Entry("imglst", "stretch", bmp, "stretch-x=\"2147483647\" stretch-y=\"9\"") +
            "<gradation name=\"unset\"/>");
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5328));
    Canvas canvas(8, 4, kPaper);
    const Canvas blank(8, 4, kPaper);
    for (const char* name : {"huge", "negative", "stretch", "unset"}) {
        for (int state : {-1, 0, 0x7FFFFFFF}) {
            BkSkinObjectPool::Instance().GetSkin(name)->Draw(canvas.Dc(),
                                                             {2147483000, 0, 2147483647, 4}, state);
            BkSkinObjectPool::Instance().GetSkin(name)->Draw(canvas.Dc(), {-2147483647, 0, 8, 4},
                                                             state);
        }
    }
    BkSkinObjectPool::Instance().GetSkin("unset")->Draw(canvas.Dc(), {0, 0, 8, 4}, 0);
    EXPECT_TRUE(canvas.SamePixels(blank)) << "nothing sensible to draw";
    // Two billion tiles wide: only those on the canvas are drawn.
    BkSkinObjectPool::Instance().GetSkin("tiles")->Draw(canvas.Dc(),
                                                        {-2147483000, 0, 2147483000, 4}, 0);
    EXPECT_EQ(kGreenColor, canvas.At(4, 2));
}

}  // namespace
}  // namespace velora
