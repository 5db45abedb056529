#include "markup/skin_pool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "markup/bitmap_pool.h"
#include "markup/image_pools.h"
#include "tests/support/skin_test_support.h"

namespace velora {
namespace {

using test::Canvas;
using test::SkinSources;

constexpr UINT kTable = 5310;
using test::kPaper;

std::string Src(UINT id) {
    return " src=\"" + std::to_string(id) + "\"";
}

TEST(SkinPoolTest, FirstDefinitionWinsWithinAndAcrossCopies) {
    SkinSources sources;
    sources.Table(kTable,
                  "<png name=\"a\" src=\"1\"/><gradation name=\"a\"/>"
                  "<sprite name=\"b\"/><png src=\"2\"/><!-- note -->");
    sources.FolderTable(kTable, "<button name=\"a\"/><button name=\"c\"/>");
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(kTable));
    EXPECT_EQ(2u, BkSkinObjectPool::Instance().Count())
        << "a and c; no name or unknown tag is skipped";
    ASSERT_NE(nullptr, BkSkinObjectPool::Instance().GetSkin("a"));
    EXPECT_STREQ("png", BkSkinObjectPool::Instance().GetSkin("a")->GetObjectClass());
    ASSERT_NE(nullptr, BkSkinObjectPool::Instance().GetSkin("c"));
    EXPECT_STREQ("button", BkSkinObjectPool::Instance().GetSkin("c")->GetObjectClass());
    EXPECT_EQ(nullptr, BkSkinObjectPool::Instance().GetSkin("b"));
    EXPECT_EQ(nullptr, BkSkinObjectPool::Instance().GetSkin(""));
    EXPECT_EQ(nullptr, BkSkinObjectPool::Instance().GetSkin("A")) << "names are case-sensitive";

    EXPECT_FALSE(BkSkinObjectPool::Instance().Load(kTable + 1)) << "no copy anywhere";
    EXPECT_EQ(0u, BkSkinObjectPool::Instance().Count()) << "loading empties the pool first";
}

TEST(SkinPoolTest, EachTagMakesItsOwnKind) {
    for (const char* tag : {"imglst", "imgframe", "button", "imghorzex", "gradation", "png", "jpg",
                            "skinpng", "skinjpg"}) {
        auto skin = CreateSkin(tag);
        ASSERT_NE(nullptr, skin) << tag;
        EXPECT_STREQ(tag, skin->GetObjectClass());
        EXPECT_TRUE(skin->IsClass(tag));
    }
    EXPECT_EQ(nullptr, CreateSkin("Png"));
    EXPECT_EQ(nullptr, CreateSkin("layer"));
    EXPECT_FALSE(CreateSkin("skinpng")->IsClass("png")) << "a kind is not its base's tag";
}

TEST(SkinPoolTest, PicturesAreDecodedOnFirstFetchOncePerIdAndShared) {
    SkinSources sources;
    const UINT id = sources.Png(test::EncodePng(4, 2, test::Columns(2, {{4, 0xFFE00000}})));
    sources.Table(
        kTable, "<png name=\"a\"" + Src(id) + "/><png name=\"b\"" + Src(id) + " subwidth=\"2\"/>");
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(kTable));
    EXPECT_EQ(0, sources.Reads("png", id)) << "loading the table decodes nothing";

    CBkSkinBase* a = BkSkinObjectPool::Instance().GetSkin("a");
    BkSkinObjectPool::Instance().GetSkin("a");
    CBkSkinBase* b = BkSkinObjectPool::Instance().GetSkin("b");
    EXPECT_EQ(1, sources.Reads("png", id));
    EXPECT_EQ(4, a->GetSkinSize().cx);
    EXPECT_EQ(2, b->GetSkinSize().cx) << "one frame of the shared picture";
    EXPECT_EQ(2, b->GetSkinSize().cy);

    Canvas canvas(4, 2, kPaper);
    b->Draw(canvas.Dc(), {0, 0, 2, 2}, 1);
    EXPECT_EQ(RGB(0xE0, 0, 0), canvas.At(1, 1));
}

TEST(SkinPoolTest, MissingPicturesDrawNothingAndMeasureZero) {
    SkinSources sources;
    const UINT png = SkinSources::FreshId();
    const UINT jpg = SkinSources::FreshId();
    const UINT bmp = SkinSources::FreshId();
    const std::string broken = "not a picture";
    const UINT corrupt = sources.Png(broken);
    sources.Table(kTable, "<png name=\"png\"" + Src(png) + "/><png name=\"again\"" + Src(png) +
                              "/><jpg name=\"jpg\"" + Src(jpg) + "/><png name=\"corrupt\"" +
                              Src(corrupt) + "/><imglst name=\"imglst\"" + Src(bmp) +
                              "/><imgframe name=\"imgframe\"" + Src(bmp) +
                              "/><imghorzex name=\"imghorzex\"" + Src(bmp) +
                              "/><skinpng name=\"skinpng\"" + Src(png) + "/>");
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(kTable));
    for (const char* name :
         {"png", "again", "jpg", "corrupt", "imglst", "imgframe", "imghorzex", "skinpng"}) {
        CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin(name);
        ASSERT_NE(nullptr, skin) << name << " exists without its picture";
        const SIZE size = skin->GetSkinSize();
        EXPECT_EQ(0, size.cx) << name;
        EXPECT_EQ(0, size.cy) << name;
        Canvas canvas(8, 8, kPaper);
        const Canvas blank(8, 8, kPaper);
        for (int state = -1; state < 4; ++state) {
            skin->Draw(canvas.Dc(), {0, 0, 8, 8}, state);
        }
        EXPECT_TRUE(canvas.SamePixels(blank)) << name << " drew something";
    }
    EXPECT_EQ(1, sources.Reads("png", png)) << "a missing PNG is remembered, not looked for again";
    EXPECT_EQ(1, sources.Reads("jpg", jpg));
    EXPECT_EQ(1, sources.Reads("png", corrupt));
}

TEST(SkinPoolTest, BitmapsThatCannotLoadAreTriedAgain) {
    SkinSources sources;
    const UINT id = SkinSources::FreshId();
    EXPECT_EQ(nullptr, BkBmpPool::Instance().Get(id));
    sources.BitmapFile(id, test::EncodeBmp24(2, 1, {0xFF00FF00, 0xFF0000FF}));
    HBITMAP loaded = BkBmpPool::Instance().Get(id);
    ASSERT_NE(nullptr, loaded) << "the second request looks again";
    EXPECT_EQ(loaded, BkBmpPool::Instance().Get(id)) << "a loaded bitmap is kept";
}

}  // namespace
}  // namespace velora
