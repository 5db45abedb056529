#include <gtest/gtest.h>

#include <string>

#include "markup/skin_pool.h"
#include "markup/style_pool.h"
#include "markup/xml_document.h"
#include "tests/support/markup_sources.h"
#include "tests/support/test_canvas.h"
#include "tests/support/test_host_window.h"
#include "tests/support/test_controls.h"
#include "ui/control_registry.h"
#include "ui/notification.h"

namespace velora {
namespace {

using test::SpyControl;

// A section container like the host window's body, loaded from a snippet and
// placed in a 610 x 414 client area.
class ControlTreeTest : public ::testing::Test {
  protected:
    void Build(const std::string& xml, RECT area = {0, 0, 610, 414}) {
        ASSERT_TRUE(document_.Parse(xml, "body")) << xml;
        root_ = std::make_unique<CBkDialog>();
        root_->SetStandardTier(&standard_);
        root_->SetCreator(&extended_);
        root_->SetContainer(host_.Handle());
        root_->Load(document_.Root());
        root_->SetAttribute("pos", "0,0,-0,-0", true);
        WINDOWPOS placement = {};
        placement.x = area.left;
        placement.y = area.top;
        placement.cx = area.right - area.left;
        placement.cy = area.bottom - area.top;
        root_->SendControlMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&placement));
    }
    CBkWindow* ById(int id) { return root_->FindChildById(id); }
    CBkWindow* Hit(int x, int y) {
        return BkControlRegistry::Instance().Find(root_->HitTest(x, y));
    }

    test::TestStandardTier standard_;
    test::TestExtendedTier extended_;
    test::TestHostWindow host_;
    BkXmlDocument document_;
    std::unique_ptr<CBkDialog> root_;
};

TEST_F(ControlTreeTest, TagsAreExactAndIsClassKnowsOnlyItsOwnTag) {
    Build("<body><dlgbtn id=\"1\"/><Dlg id=\"2\"/><dlgbtnex2 id=\"3\"/><text id=\"4\"/></body>");
    ASSERT_NE(nullptr, ById(1));
    EXPECT_TRUE(ById(1)->IsClass("dlgbtn"));
    EXPECT_FALSE(ById(1)->IsClass("dlg"));
    EXPECT_EQ(nullptr, ById(2));
    EXPECT_EQ(nullptr, ById(3));
    EXPECT_EQ(2u, root_->Children().size());
}

TEST_F(ControlTreeTest, ExtendedTierTravelsOnlyThroughStandardContainers) {
    Build(
        "<body>"
        "<dlg id=\"1\"><dlgbtnEx2 id=\"11\"><dlgbtnEx2 id=\"111\"/></dlgbtnEx2></dlg>"
        "<tabctrl id=\"2\"><tab id=\"21\"><dlgbtnEx2 id=\"211\"/></tab></tabctrl>"
        "<tab id=\"3\"/>"
        "</body>");
    EXPECT_NE(nullptr, ById(11)) << "a dlg inherits the extended tier";
    EXPECT_EQ(nullptr, ById(111)) << "nothing extended inside a dlgbtnEx2";
    EXPECT_NE(nullptr, ById(21));
    EXPECT_EQ(nullptr, ById(211)) << "nothing extended inside a tab";
    EXPECT_EQ(nullptr, ById(3)) << "tab outside a tabctrl";
}

TEST_F(ControlTreeTest, DialogButtonIsAlwaysHitAsOne) {
    Build(
        "<body><dlgbtn id=\"1\" pos=\"10,10,110,60\" onlydrawchild=\"0\">"
        "<text id=\"2\" pos=\"0,0,-0,-0\"/></dlgbtn></body>");
    EXPECT_TRUE(static_cast<CBkDialog*>(ById(1))->OnlyDrawChild());
    EXPECT_EQ(ById(1), Hit(50, 30));
}

TEST_F(ControlTreeTest, LaterSiblingWinsButFloatingComesFirst) {
    Build(
        "<body>"
        "<text id=\"1\" pos=\"0,0,100,100\"/>"
        "<text id=\"2\" pos=\"50,50,150,150\"/>"
        "<text id=\"3\" pos=\"200,0,300,100\" float=\"1\" width=\"100\" height=\"100\"/>"
        "<text id=\"4\" pos=\"200,0,300,100\"/>"
        "</body>");
    EXPECT_EQ(ById(2), Hit(75, 75));
    EXPECT_EQ(ById(1), Hit(25, 25));
    EXPECT_EQ(root_.get(), Hit(400, 300)) << "empty space hits the container";
    EXPECT_EQ(0, root_->HitTest(700, 10)) << "outside the container";
    EXPECT_EQ(0, ById(1)->HitTest(100, 50)) << "right edge excluded";
}

TEST_F(ControlTreeTest, FloatingChildIsTestedBeforeLaterSiblings) {
    Build(
        "<body>"
        "<text id=\"1\" width=\"100\" height=\"100\" float=\"1\"/>"
        "<text id=\"2\" pos=\"0,0,100,100\"/>"
        "</body>");
    EXPECT_EQ(ById(1), Hit(50, 50));
}

TEST_F(ControlTreeTest, TransparentAndHiddenChildrenAreNotHit) {
    Build(
        "<body>"
        "<text id=\"1\" pos=\"0,0,100,100\"/>"
        "<text id=\"2\" pos=\"0,0,100,100\" transparent=\"1\"/>"
        "<text id=\"3\" pos=\"0,0,100,100\" show=\"0\"/>"
        "</body>");
    EXPECT_EQ(ById(1), Hit(50, 50));
    ASSERT_NE(nullptr, ById(3)) << "hidden controls are still found by id";
    EXPECT_FALSE(ById(3)->IsVisible());
}

TEST_F(ControlTreeTest, PaintsVisibleChildrenInDocumentOrder) {
    Build(
        "<body><text id=\"1\" pos=\"0,0,10,10\"/><text id=\"2\" pos=\"5,5,20,20\" show=\"0\"/>"
        "<dlg id=\"9\" pos=\"0,0,-0,-0\"><text id=\"3\" pos=\"0,0,10,10\"/></dlg>"
        "<text id=\"4\" pos=\"500,400,600,410\"/></body>");
    HDC dc = ::CreateCompatibleDC(nullptr);
    test::PaintLog().clear();
    root_->RedrawRegion(dc, nullptr);
    EXPECT_EQ((std::vector<int>{1, 3, 4}), test::PaintLog());

    HRGN corner = ::CreateRectRgn(0, 0, 50, 50);
    test::PaintLog().clear();
    root_->RedrawRegion(dc, corner);
    EXPECT_EQ((std::vector<int>{1, 3}), test::PaintLog()) << "controls outside the region skip";
    ::DeleteObject(corner);
    ::DeleteDC(dc);
}

TEST_F(ControlTreeTest, LoadingAgainReplacesTheChildren) {
    Build("<body><text id=\"1\"/><text id=\"2\"/></body>");
    const std::int32_t oldHandle = ById(1)->Handle();
    BkXmlDocument second;
    ASSERT_TRUE(second.Parse("<body><text id=\"5\"/></body>", "body"));
    root_->LoadChildren(second.Root()->FirstChildElement());
    EXPECT_EQ(nullptr, ById(1));
    ASSERT_NE(nullptr, ById(5));
    EXPECT_GT(ById(5)->Handle(), oldHandle) << "handles are never reused";
    EXPECT_EQ(nullptr, BkControlRegistry::Instance().Find(oldHandle));
}

TEST_F(ControlTreeTest, FindsNestedControlDepthFirst) {
    Build(
        "<body><dlg id=\"1\"><dlg id=\"2\"><text id=\"7\"/></dlg></dlg>"
        "<dlg id=\"3\"><text id=\"7\"/></dlg></body>");
    CBkWindow* found = ById(7);
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(ById(2)->Handle(), found->ParentHandle()) << "the first one, depth first";
}

TEST_F(ControlTreeTest, RunTimePosMovesOnlyThatControl) {
    Build("<body><text id=\"1\" pos=\"0,0,100,20\"/><text id=\"2\" pos=\"0,30,100,50\"/></body>");
    const RECT before = ById(2)->Rect();
    ById(1)->SetAttribute("pos", "-64,15", false);
    EXPECT_EQ(546, ById(1)->Rect().left);
    EXPECT_EQ(15, ById(1)->Rect().top);
    EXPECT_EQ(562, ById(1)->Rect().right);
    EXPECT_EQ(31, ById(1)->Rect().bottom);
    EXPECT_TRUE(::EqualRect(&before, &ById(2)->Rect()));
}

TEST_F(ControlTreeTest, MarginsShrinkTheChildArea) {
    test::MarkupSources sources;
    sources.InMemory(kStyleTableId, "<style><class name=\"padded\" margin=\"10\"/></style>");
    ASSERT_TRUE(BkStylePool::Instance().Load(kStyleTableId));
    Build("<body class=\"padded\"><text id=\"1\" pos=\"0,0,-0,-0\"/></body>");
    const RECT r = ById(1)->Rect();
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(10, r.top);
    EXPECT_EQ(600, r.right);
    EXPECT_EQ(404, r.bottom);
    BkStylePool::Instance().Load(kStyleTableId + 100);  // back to defaults only
}

TEST_F(ControlTreeTest, ShowAlignAndVisibilityThroughAncestors) {
    Build(
        "<body><text id=\"1\" show=\"2\" align=\"center\" valign=\"middle\"/>"
        "<dlg id=\"2\" show=\"0\"><text id=\"3\"/></dlg></body>");
    CBkWindow* text = ById(1);
    EXPECT_TRUE(text->IsVisible());
    EXPECT_EQ(kAlignCenter, text->Align());
    EXPECT_FALSE(text->SetAttribute("valign", "centre", false));
    EXPECT_EQ(kVAlignMiddle, text->VAlign()) << "a bad value keeps the previous one";
    EXPECT_FALSE(ById(3)->IsVisible()) << "the parent is hidden";
    ById(2)->SendControlMessage(WM_SHOWWINDOW, 1);
    EXPECT_TRUE(ById(3)->IsVisible());
    ById(2)->ModifyState(ControlState::kDisabled, ControlState::kNone);
    EXPECT_TRUE(ById(3)->IsDisabled());
}

TEST_F(ControlTreeTest, SelfNotifyOnMoveAndLeave) {
    Build("<body><text id=\"8\" pos=\"0,0,100,100\" notify=\"3\"/></body>");
    root_->SendControlMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    ById(8)->SendControlMessage(WM_MOUSELEAVE);
    const auto& records = host_.Records();
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(kNotifySelf, records[0].code);
    EXPECT_EQ(77u, records[0].wParam) << "the host's dialog control id";
    EXPECT_EQ(8u, records[0].controlId);
    EXPECT_EQ("wnd", records[0].classTag);
    EXPECT_EQ(kSelfNotifyMove, records[0].subCode);
    EXPECT_EQ(kSelfNotifyLeave, records[1].subCode);
}

TEST_F(ControlTreeTest, BackgroundColourAndHoverColour) {
    test::MarkupSources sources;
    sources.InMemory(kStyleTableId,
                     "<style><class name=\"hot\" crbg=\"102030\" crbghover=\"405060\"/></style>");
    ASSERT_TRUE(BkStylePool::Instance().Load(kStyleTableId));
    Build(
        "<body><text id=\"1\" class=\"hot\" pos=\"0,0,4,4\"/>"
        "<text id=\"2\" class=\"hot\" crbg=\"FF0000\" pos=\"4,0,8,4\"/></body>");
    test::Canvas canvas(8, 4, RGB(0, 0, 0));
    root_->RedrawRegion(canvas.Dc(), nullptr);
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), canvas.At(0, 0));
    EXPECT_EQ(RGB(0xFF, 0, 0), canvas.At(5, 0)) << "the control's own crbg wins";
    ById(1)->ModifyState(ControlState::kHover, ControlState::kNone);
    root_->RedrawRegion(canvas.Dc(), nullptr);
    EXPECT_EQ(RGB(0x40, 0x50, 0x60), canvas.At(0, 0));
    BkStylePool::Instance().Load(kStyleTableId + 100);
}

TEST_F(ControlTreeTest, GdiplusBackgroundBlendsWithItsAlpha) {
    test::MarkupSources sources;
    sources.InMemory(kStyleTableId,
                     "<style><class name=\"glass\" crbg=\"FF0000\" bggdiplus=\"1\" "
                     "alphabg=\"128\"/></style>");
    ASSERT_TRUE(BkStylePool::Instance().Load(kStyleTableId));
    Build("<body><text id=\"1\" class=\"glass\" pos=\"0,0,4,4\"/></body>");
    test::Canvas canvas(4, 4, RGB(0xFF, 0xFF, 0xFF));  // white underneath
    ById(1)->DrawBackground(canvas.Dc());
    EXPECT_TRUE(test::ColorNear(RGB(0xFF, 0x7F, 0x7F), canvas.At(1, 1), 2))
        << "half of the white shows through";
    BkStylePool::Instance().Load(kStyleTableId + 100);
}

TEST_F(ControlTreeTest, TabControlSelectsByHeaderAndAsksFirst) {
    Build(
        "<body><tabctrl id=\"5\" pos=\"0,0,300,200\" tabwidth=\"60\" tabheight=\"20\" "
        "tabspacing=\"4\">"
        "<tab id=\"50\" title=\"a\"><text id=\"501\" pos=\"0,0,-0,-0\"/></tab>"
        "<tab id=\"51\" hide=\"1\"/>"
        "<tab id=\"52\" title=\"c\"><text id=\"521\" pos=\"0,0,-0,-0\"/></tab>"
        "</tabctrl></body>");
    auto* tabs = static_cast<CBkTabCtrl*>(ById(5));
    EXPECT_EQ(0, tabs->CurrentPage());
    EXPECT_TRUE(ById(50)->IsVisible());
    EXPECT_FALSE(ById(52)->IsVisible());
    const RECT third = tabs->HeaderRect(2);
    EXPECT_EQ(64, third.left) << "hidden pages take no header";
    EXPECT_EQ(ById(501), Hit(100, 100)) << "the frame shows the selected page";
    EXPECT_EQ(tabs, Hit(250, 10)) << "beside the headers: the control itself";

    host_.refusePageChange = true;
    tabs->SendControlMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(70, 10));
    EXPECT_EQ(0, tabs->CurrentPage());
    ASSERT_FALSE(host_.Records().empty());
    EXPECT_EQ(kNotifyPageChange, host_.Records().back().code);
    EXPECT_EQ(2, host_.Records().back().newIndex);

    host_.refusePageChange = false;
    tabs->SendControlMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(70, 10));
    EXPECT_EQ(2, tabs->CurrentPage());
    EXPECT_FALSE(ById(50)->IsVisible());
    EXPECT_TRUE(ById(52)->IsVisible());
    EXPECT_EQ(ById(521), Hit(100, 100));
    EXPECT_EQ(20, ById(521)->Rect().top) << "pages fill the frame below the headers";
}

TEST_F(ControlTreeTest, TabControlPaintsHeadersAndTheSelectedPage) {
    test::MarkupSources sources;
    sources.InMemory(kSkinTableId,
                     "<skins><button name=\"tabface\" bg=\"C0C0C0\" border=\"808080\" "
                     "bgup=\"E0E0E0\" bgdown=\"404040\"/></skins>");
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(kSkinTableId));
    Build(
        "<body><tabctrl id=\"5\" pos=\"0,0,300,200\" tabwidth=\"60\" tabheight=\"20\" "
        "tabskin=\"tabface\" cursel=\"1\">"
        "<tab id=\"50\"><text id=\"501\" pos=\"0,0,-0,-0\" crbg=\"00FF00\"/></tab>"
        "<tab id=\"51\"><text id=\"511\" pos=\"0,0,-0,-0\" crbg=\"0000FF\"/></tab>"
        "</tabctrl></body>");
    test::Canvas canvas(300, 200, RGB(255, 255, 255));
    root_->RedrawRegion(canvas.Dc(), nullptr);
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(150, 100)) << "the first visible page shows after loading";
    EXPECT_NE(canvas.At(30, 10), RGB(255, 255, 255)) << "header 0 drawn";
    const COLORREF selected = canvas.At(90, 10);
    EXPECT_NE(canvas.At(30, 10), selected) << "the selected header is drawn in its own state";
    BkSkinObjectPool::Instance().Load(kSkinTableId + 100);
}

}  // namespace
}  // namespace velora
