// "imglst", "imgframe" and "imghorzex" drawn from bitmap files into 32-bit DIBs.
#include <gtest/gtest.h>

#include <string>

#include "markup/skin_pool.h"
#include "tests/support/skin_test_support.h"

namespace velora {
namespace {

using test::Argb;
using test::Canvas;
using test::Columns;
using test::SkinSources;

using test::kBlue;
using test::kBlueColor;
using test::kGreen;
using test::kGreenColor;
using test::kPaper;
using test::kRed;
using test::kRedColor;
constexpr std::uint32_t kMagenta = 0xFFFF00FF;

// A bitmap file under a fresh id, and a table entry naming it.
UINT Bitmap(SkinSources& sources, const std::string& file) {
    const UINT id = SkinSources::FreshId();
    sources.BitmapFile(id, file);
    return id;
}

std::string Entry(const char* tag, const char* name, UINT src, const std::string& more = "") {
    return std::string("<") + tag + " name=\"" + name + "\" src=\"" + std::to_string(src) + "\" " +
           more + "/>";
}

TEST(BitmapSkinTest, ImageListDrawsFramesOrTheWholeBitmap) {
    SkinSources sources;
    const UINT id = Bitmap(sources, test::EncodeBmp24(8, 2, Columns(2, {{4, kRed}, {4, kGreen}})));
    sources.Table(
        5330, Entry("imglst", "whole", id) + Entry("imglst", "frames", id, "subwidth=\"4\"") +
                  Entry("imglst", "sized", id, "subwidth=\"4\" stretch-x=\"8\" stretch-y=\"4\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5330));

    CBkSkinBase* whole = BkSkinObjectPool::Instance().GetSkin("whole");
    EXPECT_EQ(8, whole->GetSkinSize().cx);
    Canvas canvas(10, 6, kPaper);
    whole->Draw(canvas.Dc(), {1, 1, 10, 6}, 0);
    EXPECT_EQ(kPaper, canvas.At(2, 2)) << "without subwidth only -1 draws";
    whole->Draw(canvas.Dc(), {1, 1, 10, 6}, -1);
    EXPECT_EQ(kRedColor, canvas.At(1, 1));
    EXPECT_EQ(kGreenColor, canvas.At(8, 2));
    EXPECT_EQ(kPaper, canvas.At(9, 2)) << "1:1, not stretched to the rectangle";
    EXPECT_EQ(kPaper, canvas.At(1, 3));

    CBkSkinBase* frames = BkSkinObjectPool::Instance().GetSkin("frames");
    EXPECT_EQ(4, frames->GetSkinSize().cx);
    Canvas frame(6, 3, kPaper);
    frames->Draw(frame.Dc(), {0, 0, 6, 3}, 1);
    EXPECT_EQ(kGreenColor, frame.At(0, 0));
    EXPECT_EQ(kGreenColor, frame.At(3, 1));
    EXPECT_EQ(kPaper, frame.At(4, 0));
    frames->Draw(frame.Dc(), {0, 0, 6, 3}, 2);
    EXPECT_EQ(kGreenColor, frame.At(0, 0)) << "a frame outside the bitmap draws nothing";

    CBkSkinBase* sized = BkSkinObjectPool::Instance().GetSkin("sized");
    EXPECT_EQ(8, sized->GetSkinSize().cx);
    EXPECT_EQ(4, sized->GetSkinSize().cy);
    Canvas stretched(10, 6, kPaper);
    sized->Draw(stretched.Dc(), {0, 0, 2, 2}, 0);
    EXPECT_EQ(kRedColor, stretched.At(7, 3)) << "frame 0 scaled to 8 x 4";
    EXPECT_EQ(kPaper, stretched.At(8, 3));
}

TEST(BitmapSkinTest, MaskModeKeepsTheKeyColourTransparent) {
    SkinSources sources;
    const UINT id = Bitmap(
        sources,
        test::EncodeBmp24(4, 1, Columns(1, {{1, kMagenta}, {1, kRed}, {1, kMagenta}, {1, kBlue}})));
    sources.Table(5331, Entry("imglst", "magenta", id, "mode=\"mask\"") +
                            Entry("imglst", "red", id, "mode=\"mask\" maskcolor=\"E00000\"") +
                            Entry("imglst", "stretched", id,
                                  "mode=\"mask\" stretch-x=\"8\" stretch-y=\"2\" subwidth=\"4\"") +
                            Entry("imglst", "bogus", id, "mode=\"blend\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5331));
    Canvas canvas(8, 2, kPaper);
    BkSkinObjectPool::Instance().GetSkin("magenta")->Draw(canvas.Dc(), {0, 0, 8, 2}, -1);
    EXPECT_EQ(kPaper, canvas.At(0, 0));
    EXPECT_EQ(kRedColor, canvas.At(1, 0));
    EXPECT_EQ(kPaper, canvas.At(2, 0));
    EXPECT_EQ(kBlueColor, canvas.At(3, 0));

    canvas.Fill(kPaper);
    BkSkinObjectPool::Instance().GetSkin("red")->Draw(canvas.Dc(), {0, 0, 8, 2}, -1);
    EXPECT_EQ(RGB(255, 0, 255), canvas.At(0, 0));
    EXPECT_EQ(kPaper, canvas.At(1, 0));

    canvas.Fill(kPaper);
    BkSkinObjectPool::Instance().GetSkin("stretched")->Draw(canvas.Dc(), {0, 0, 8, 2}, 0);
    EXPECT_EQ(kPaper, canvas.At(0, 1)) << "stretched key pixels stay transparent";
    EXPECT_EQ(kRedColor, canvas.At(3, 1));
    EXPECT_EQ(kBlueColor, canvas.At(7, 1));

    canvas.Fill(kPaper);
    BkSkinObjectPool::Instance().GetSkin("bogus")->Draw(canvas.Dc(), {0, 0, 8, 2}, -1);
    EXPECT_EQ(RGB(255, 0, 255), canvas.At(0, 0)) << "an unknown mode word keeps \"none\"";
}

TEST(BitmapSkinTest, AlphaModeBlendsStraightAlphaAtOneToOneOnly) {
    SkinSources sources;
    const UINT deep = Bitmap(sources, test::EncodeBmp32(2, 1, {0x80C86400, 0xFF0000D0}));
    const UINT flat = Bitmap(sources, test::EncodeBmp24(2, 1, {0xFFE00000, 0xFFE00000}));
    sources.Table(5332, Entry("imglst", "deep", deep, "mode=\"alpha\"") +
                            Entry("imglst", "scaled", deep,
                                  "mode=\"alpha\" subwidth=\"2\" stretch-x=\"4\" stretch-y=\"2\"") +
                            Entry("imglst", "flat", flat, "mode=\"alpha\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5332));
    Canvas canvas(4, 2, RGB(255, 255, 255));
    BkSkinObjectPool::Instance().GetSkin("deep")->Draw(canvas.Dc(), {0, 0, 4, 2}, -1);
    // (200 * 128 + 255 * 127) / 255 and likewise: the source is not premultiplied.
    EXPECT_EQ(RGB(227, 177, 127), canvas.At(0, 0));
    EXPECT_EQ(kBlueColor, canvas.At(1, 0));

    const Canvas white(4, 2, RGB(255, 255, 255));
    Canvas untouched(4, 2, RGB(255, 255, 255));
    BkSkinObjectPool::Instance().GetSkin("scaled")->Draw(untouched.Dc(), {0, 0, 4, 2}, 0);
    BkSkinObjectPool::Instance().GetSkin("flat")->Draw(untouched.Dc(), {0, 0, 4, 2}, -1);
    EXPECT_TRUE(untouched.SamePixels(white)) << "no scaled alpha, no alpha from 24 bits";
}

// A 5 x 5 frame bitmap: 2-pixel borders, one middle row and column.
//   TL TL T TR TR / TL TL T TR TR / L L M R R / BL BL B BR BR / BL BL B BR BR
struct FrameColours {
    static constexpr std::uint32_t TL = 0xFF100000, T = 0xFF200000, TR = 0xFF300000;
    static constexpr std::uint32_t L = 0xFF001000, M = 0xFF002000, R = 0xFF003000;
    static constexpr std::uint32_t BL = 0xFF000010, B = 0xFF000020, BR = 0xFF000030;
};

COLORREF AsColor(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

TEST(BitmapSkinTest, FrameCutsNinePartsAndPartBottomLeavesOutTheTop) {
    using C = FrameColours;
    const Argb pixels = {C::TL, C::TL, C::T,  C::TR, C::TR, C::TL, C::TL, C::T,  C::TR,
                         C::TR, C::L,  C::L,  C::M,  C::R,  C::R,  C::BL, C::BL, C::B,
                         C::BR, C::BR, C::BL, C::BL, C::B,  C::BR, C::BR};
    SkinSources sources;
    const UINT id = Bitmap(sources, test::EncodeBmp24(5, 5, pixels));
    const std::string borders = "left=\"2\" top=\"2\" crbg=\"FFFFFF\"";
    sources.Table(5333, Entry("imgframe", "all", id, borders) +
                            Entry("imgframe", "bottom", id, borders + " part=\"bottom\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5333));

    Canvas all(20, 12, kPaper);
    BkSkinObjectPool::Instance().GetSkin("all")->Draw(all.Dc(), {0, 0, 20, 12}, 0);
    EXPECT_EQ(AsColor(C::TL), all.At(1, 1));
    EXPECT_EQ(AsColor(C::TR), all.At(18, 0));
    EXPECT_EQ(AsColor(C::BL), all.At(0, 11));
    EXPECT_EQ(AsColor(C::BR), all.At(19, 10));
    EXPECT_EQ(AsColor(C::T), all.At(10, 1));
    EXPECT_EQ(AsColor(C::B), all.At(10, 10));
    EXPECT_EQ(AsColor(C::L), all.At(1, 6));
    EXPECT_EQ(AsColor(C::R), all.At(18, 6));
    EXPECT_EQ(RGB(255, 255, 255), all.At(10, 6)) << "crbg fills the inside";
    EXPECT_EQ(RGB(255, 255, 255), all.At(2, 2));

    Canvas bottom(20, 12, kPaper);
    BkSkinObjectPool::Instance().GetSkin("bottom")->Draw(bottom.Dc(), {0, 0, 20, 12}, 0);
    EXPECT_EQ(AsColor(C::L), bottom.At(0, 0)) << "the left border reaches the top";
    EXPECT_EQ(AsColor(C::R), bottom.At(19, 0));
    EXPECT_EQ(RGB(255, 255, 255), bottom.At(10, 0)) << "the inside starts at the top";
    EXPECT_EQ(AsColor(C::BL), bottom.At(0, 11));
    EXPECT_EQ(AsColor(C::B), bottom.At(10, 11));
}

TEST(BitmapSkinTest, BarPicksItsFrameFromTheStateBits) {
    SkinSources sources;
    const UINT id = Bitmap(
        sources, test::EncodeBmp24(
                     16, 2, Columns(2, {{4, kRed}, {4, kGreen}, {4, kBlue}, {4, 0xFF808080}})));
    sources.Table(5334, Entry("imghorzex", "bar", id, "subwidth=\"4\" left=\"1\""));
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5334));
    CBkSkinBase* bar = BkSkinObjectPool::Instance().GetSkin("bar");
    EXPECT_EQ(0, bar->GetSkinSize().cx);
    EXPECT_EQ(2, bar->GetSkinSize().cy);
    const struct {
        int state;
        COLORREF color;
    } cases[] = {{0x00, kRedColor},  {0x01, kGreenColor},        {0x02, kBlueColor},
                 {0x03, kBlueColor}, {0x13, RGB(128, 128, 128)}, {0x04, kRedColor}};
    for (const auto& c : cases) {
        Canvas canvas(30, 2, kPaper);
        bar->Draw(canvas.Dc(), {0, 0, 30, 2}, c.state);
        EXPECT_EQ(c.color, canvas.At(0, 0)) << "left cap, state " << c.state;
        EXPECT_EQ(c.color, canvas.At(15, 1)) << "middle, state " << c.state;
        EXPECT_EQ(c.color, canvas.At(29, 0)) << "right cap, state " << c.state;
    }
}

}  // namespace
}  // namespace velora
