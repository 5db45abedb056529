#include "markup/style_pool.h"

#include <gtest/gtest.h>

#include "markup/font_pool.h"
#include "tests/support/markup_sources.h"

namespace velora {
namespace {

constexpr UINT kTestTable = 5101;

void ExpectDefaults(const BkStyle& style) {
    EXPECT_EQ(kNoColor, style.crBg);
    EXPECT_EQ(kNoColor, style.crBgHover);
    EXPECT_EQ(kNoColor, style.crText);
    EXPECT_EQ(kNoColor, style.crHover);
    EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), style.crDisabled);
    EXPECT_EQ(0x28u, style.textMode);
    EXPECT_EQ(0, style.xMargin);
    EXPECT_EQ(0, style.yMargin);
    EXPECT_EQ(20, style.lineSpacing);
    EXPECT_EQ(254, style.alphaText);
    EXPECT_EQ(255, style.alphaBackground);
    EXPECT_EQ(IDC_ARROW, style.cursor);
    EXPECT_EQ(nullptr, style.font);
    EXPECT_EQ(RGB(1, 1, 1), style.crShadow);
    EXPECT_TRUE(style.skin.empty());
}

TEST(StylePoolTest, UnknownOrEmptyNameGetsTheDefaultRecord) {
    test::MarkupSources sources;
    EXPECT_FALSE(BkStylePool::Instance().Load(kTestTable)) << "no table anywhere";
    EXPECT_EQ(1u, BkStylePool::Instance().Count()) << "the default record stays";
    ExpectDefaults(BkStylePool::Instance().Get(""));
    ExpectDefaults(BkStylePool::Instance().Get("nope"));
    EXPECT_EQ(&BkStylePool::Instance().Get(""), &BkStylePool::Instance().Get("nope"));
}

TEST(StylePoolTest, AttributesApplyInDocumentOrderAndUnknownOnesAreIgnored) {
    test::MarkupSources sources;
    sources.InMemory(kTestTable,
                     "<style>"
                     "<class name=\"a\" margin=\"7\" x-margin=\"3\" cursor=\"hand\" bogus=\"1\"/>"
                     "<class name=\"b\" x-margin=\"3\" margin=\"7\" cursor=\"pointer\"/>"
                     "<class name=\"a\" crbg=\"FF0000\"/>"
                     "<class crbg=\"00FF00\"/>"
                     "</style>");
    ASSERT_TRUE(BkStylePool::Instance().Load(kTestTable));
    const BkStyle& a = BkStylePool::Instance().Get("a");
    EXPECT_EQ(3, a.xMargin);
    EXPECT_EQ(7, a.yMargin);
    EXPECT_EQ(IDC_HAND, a.cursor);
    EXPECT_EQ(kNoColor, a.crBg) << "the second definition of a is skipped";
    const BkStyle& b = BkStylePool::Instance().Get("b");
    EXPECT_EQ(7, b.xMargin);
    EXPECT_EQ(IDC_ARROW, b.cursor) << "an unknown cursor word keeps the arrow";
    EXPECT_EQ(3u, BkStylePool::Instance().Count())
        << "default, a, b; a class without name is skipped";
}

TEST(StylePoolTest, BuiltInTableHasItsClasses) {
    ASSERT_TRUE(BkStylePool::Instance().Load(kStyleTableId));
    EXPECT_EQ(31u + 1u, BkStylePool::Instance().Count()) << "31 classes and the default";
    for (const char* name :
         {"common_btn", "linktext", "agree_text", "btn_install_text", "btn_brower_text",
          "msg_dlg_center_text", "msg_dlg_xp_text", "progress_text", "disk_less_text",
          "style_home_bg", "style_progress_dlg_bg", "style_agree_bg", "dlg_footer",
          "richAgreeTitle"}) {
        EXPECT_TRUE(BkStylePool::Instance().Contains(name)) << name;
    }
    const BkStyle& button = BkStylePool::Instance().Get("common_btn");
    EXPECT_EQ("common_btn", button.skin);
    EXPECT_EQ(BkFontPool::Instance().GetFont(0), button.font);
    EXPECT_EQ(RGB(0, 0, 0), button.crText);
    EXPECT_EQ(0x25u, button.textMode);
    EXPECT_EQ(IDC_HAND, button.cursor);

    const BkStyle& link = BkStylePool::Instance().Get("linktext");
    EXPECT_EQ(BkFontPool::Instance().GetFont(0x0100), link.font);
    EXPECT_EQ(BkFontPool::Instance().GetFont(0x0102), link.hoverFont);
    EXPECT_EQ(RGB(0x3D, 0xA0, 0xFA), link.crText);
    EXPECT_EQ(RGB(0x3D, 0xA0, 0xFA), link.crHover);
    EXPECT_EQ(0x25u, link.textMode);
    EXPECT_EQ(IDC_HAND, link.cursor);
    EXPECT_EQ("dlg_footer", BkStylePool::Instance().Get("dlg_footer").skin);
}

}  // namespace
}  // namespace velora
