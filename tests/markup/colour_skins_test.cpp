// "button" and "gradation" drawn into 32-bit DIBs.
#include <gtest/gtest.h>

#include "markup/skin_pool.h"
#include "tests/support/skin_test_support.h"

namespace velora {
namespace {

using test::Canvas;
using test::ColorNear;
using test::SkinSources;

using test::kPaper;

TEST(ColourSkinTest, ButtonFaceFollowsHoverPushedAndDisabled) {
    SkinSources sources;
    sources.Table(5340, "<button name=\"plain\"/><button name=\"flat\" useborder=\"0\"/>");
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5340));
    CBkSkinBase* plain = BkSkinObjectPool::Instance().GetSkin("plain");
    EXPECT_FALSE(plain->IgnoreState());

    Canvas pushed(20, 20, kPaper);
    plain->Draw(pushed.Dc(), {0, 0, 20, 20}, 0x03);
    EXPECT_EQ(RGB(0x70, 0x70, 0x70), pushed.At(0, 0)) << "border";
    EXPECT_EQ(RGB(0x70, 0x70, 0x70), pushed.At(19, 19));
    EXPECT_EQ(RGB(0xEE, 0xEE, 0xEE), pushed.At(1, 1)) << "bg between border and face";
    EXPECT_EQ(RGB(0xCE, 0xCE, 0xCE), pushed.At(2, 2)) << "pushed wins over hover";
    EXPECT_TRUE(ColorNear(RGB(0xC0, 0xC0, 0xC0), pushed.At(10, 17), 3));

    Canvas hover(20, 20, kPaper);
    plain->Draw(hover.Dc(), {0, 0, 20, 20}, 0x01);
    EXPECT_TRUE(ColorNear(RGB(0xE0, 0xE0, 0xE0), hover.At(10, 17), 3));

    Canvas disabled(20, 20, kPaper);
    plain->Draw(disabled.Dc(), {0, 0, 20, 20}, 0x13);
    EXPECT_EQ(RGB(0x70, 0x70, 0x70), disabled.At(0, 0));
    EXPECT_EQ(RGB(0xEE, 0xEE, 0xEE), disabled.At(2, 2)) << "no face, only bg";
    EXPECT_EQ(RGB(0xEE, 0xEE, 0xEE), disabled.At(10, 17));

    Canvas flat(20, 20, kPaper);
    BkSkinObjectPool::Instance().GetSkin("flat")->Draw(flat.Dc(), {0, 0, 20, 20}, 0);
    EXPECT_EQ(RGB(0xEE, 0xEE, 0xEE), flat.At(0, 0)) << "no border: the face fills all";
    EXPECT_TRUE(ColorNear(RGB(0xD6, 0xD6, 0xD6), flat.At(0, 19), 3));
}

TEST(ColourSkinTest, GradationSizeDirectionAndClip) {
    SkinSources sources;
    sources.Table(5341,
                  "<gradation name=\"across\" from=\"000000\" to=\"FFFFFF\" size=\"10\"/>"
                  "<gradation name=\"down\" from=\"FF0000\" to=\"0000FF\" direction=\"vert\"/>"
                  "<gradation name=\"odd\" from=\"FF0000\" to=\"0000FF\" direction=\"up\"/>");
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5341));

    Canvas across(40, 20, kPaper);
    BkSkinObjectPool::Instance().GetSkin("across")->Draw(across.Dc(), {5, 5, 35, 15}, 0);
    EXPECT_EQ(RGB(0, 0, 0), across.At(5, 10));
    EXPECT_LT(GetRValue(across.At(9, 10)), GetRValue(across.At(13, 10)));
    EXPECT_EQ(RGB(255, 255, 255), across.At(20, 10)) << "beyond size: the end colour";
    EXPECT_EQ(kPaper, across.At(4, 10));
    EXPECT_EQ(kPaper, across.At(20, 15));
    HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(0, ::GetClipRgn(across.Dc(), clip)) << "the clip is put back";
    ::DeleteObject(clip);

    Canvas down(10, 30, kPaper);
    BkSkinObjectPool::Instance().GetSkin("down")->Draw(down.Dc(), {0, 0, 10, 30}, 0);
    EXPECT_EQ(RGB(255, 0, 0), down.At(5, 0));
    EXPECT_TRUE(ColorNear(RGB(0, 0, 255), down.At(5, 29), 10));
    EXPECT_EQ(down.At(0, 15), down.At(9, 15));

    Canvas odd(30, 10, kPaper);
    BkSkinObjectPool::Instance().GetSkin("odd")->Draw(odd.Dc(), {0, 0, 30, 10}, 0);
    EXPECT_EQ(RGB(255, 0, 0), odd.At(0, 9)) << "an unknown direction keeps horz";
    EXPECT_TRUE(ColorNear(RGB(0, 0, 255), odd.At(29, 0), 10));
}

}  // namespace
}  // namespace velora
