#include "markup/layout_document.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "markup/xml_document.h"

namespace velora {
namespace {

// Reads the root attributes of `text` into `description` as a fresh load would.
void Read(const std::string& text, BkWindowDescription& description) {
    BkXmlDocument document;
    ASSERT_TRUE(document.Parse(text, kLayoutRootTag)) << text;
    ResetForLoad(description);
    ReadLayerAttributes(document.Root(), description);
}

BkWindowDescription Read(const std::string& text) {
    BkWindowDescription description;
    Read(text, description);
    return description;
}

TEST(LayerAttributesTest, MainWindowShape) {
    const BkWindowDescription d = Read(
        "<layer title=\"Velora \xE5\xAE\x89\xE8\xA3\x85\" frame=\"frame_bg\" width=\"610\" "
        "height=\"414\" min_width=\"400\" min_height=\"300\" appwin=\"1\" resize=\"0\" "
        "holdsize=\"0\" unknown=\"7\"/>");
    EXPECT_EQ(L"Velora \x5B89\x88C5", d.title);
    EXPECT_EQ("frame_bg", d.frameSkin);
    EXPECT_EQ(610, d.width);
    EXPECT_EQ(414, d.height);
    EXPECT_EQ(400, d.minWidth);
    EXPECT_EQ(300, d.minHeight);
    EXPECT_FALSE(d.resizable || d.holdSize);
    EXPECT_TRUE(d.movable);
}

TEST(LayerAttributesTest, FrameFlags) {
    // No appwin: a dialog window stays off the taskbar.
    EXPECT_EQ(0x00010300u, Read("<layer/>").exStyle);

    const BkWindowDescription resizable =
        Read("<layer resize=\"1\" holdsize=\"2\" noborder=\"1\" layered=\"1\"/>");
    EXPECT_EQ(0x800F0000u, resizable.style);
    EXPECT_EQ(0x00010000u | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, resizable.exStyle);
    EXPECT_TRUE(resizable.resizable);
    EXPECT_TRUE(resizable.holdSize);

    // Flags are decimal integers: only a non-zero number counts.
    const BkWindowDescription notNumbers = Read("<layer resize=\"yes\" noborder=\"0x1\"/>");
    EXPECT_FALSE(notNumbers.resizable);
    EXPECT_EQ(0x00010300u, notNumbers.exStyle);
}

TEST(LayerAttributesTest, ChildWindowMasksPopupFlagsAndSkipsFrameFlags) {
    BkWindowDescription d;
    d.resizable = true;  // from an earlier layout
    d.holdSize = true;
    Read(
        "<layer child=\"1\" layered=\"1\" appwin=\"1\" resize=\"0\" holdsize=\"0\" "
        "noborder=\"1\" nomove=\"1\"/>",
        d);
    EXPECT_EQ(0x46010000u, d.style);
    EXPECT_EQ(0x00050000u, d.exStyle) << "no layering, no border bits";
    EXPECT_TRUE(d.resizable) << "not read for a child";
    EXPECT_TRUE(d.holdSize);
    EXPECT_TRUE(d.movable);

    // Exactly popup, child, both clip bits and the system menu are replaced.
    BkXmlDocument document;
    ASSERT_TRUE(document.Parse("<layer child=\"1\"/>", kLayoutRootTag));
    BkWindowDescription all;
    all.style = 0xFFFFFFFFu;
    ReadLayerAttributes(document.Root(), all);
    EXPECT_EQ(0x7FF7FFFFu, all.style);
}

TEST(LayerAttributesTest, ReloadKeepsOnlyWhatTheResetKeeps) {
    BkWindowDescription d;
    Read("<layer title=\"a\" frame=\"f\" width=\"610\" height=\"414\" nomove=\"1\" appwin=\"1\"/>",
         d);
    EXPECT_FALSE(d.movable);
    d.headerPresent = d.bodyPresent = d.footerPresent = d.loaded = true;

    ResetForLoad(d);
    EXPECT_EQ(kLayoutDefaultStyle, d.style);
    EXPECT_EQ(kLayoutDefaultExStyle, d.exStyle);
    EXPECT_FALSE(d.headerPresent || d.bodyPresent || d.footerPresent || d.loaded);

    // Absent text and numbers are read as empty and 0; movability stays lost.
    Read("<layer width=\"abc\" height=\"300px\"/>", d);
    EXPECT_TRUE(d.title.empty() && d.frameSkin.empty());
    EXPECT_EQ(0, d.width);
    EXPECT_EQ(300, d.height);
    EXPECT_EQ(0x00010300u, d.exStyle);
    EXPECT_FALSE(d.movable);
}

TEST(SectionPositionTest, GeneratedTextsAndFullHeight) {
    EXPECT_EQ("0,0,-0,48", HeaderPosition(48));
    EXPECT_EQ("0,-30,-0,-0", FooterPosition(30));
    EXPECT_EQ("0,0,-0,-2147483648", HeaderPosition(INT_MIN));
    EXPECT_EQ("0,--2147483648,-0,-0", FooterPosition(INT_MIN));
    EXPECT_STREQ("0,0,-0,-0", kFillPosition);

    for (const char* full : {"full", "FULL", "Full", "fULl"}) {
        EXPECT_TRUE(IsFullHeight(full)) << full;
    }
    for (const char* other : {"ful", "fulll", "full ", " full", "", "0", "48"}) {
        EXPECT_FALSE(IsFullHeight(other)) << other;
    }
    EXPECT_FALSE(IsFullHeight(nullptr));
}

}  // namespace
}  // namespace velora
