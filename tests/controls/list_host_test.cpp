#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/control_factory.h"
#include "controls/list_controls.h"
#include "tests/support/markup_sources.h"
#include "tests/support/test_canvas.h"
#include "ui/host_window.h"
#include "ui/notification.h"

namespace velora {
namespace {

constexpr UINT kLayoutId = 3951;

// A dialog with the installer's own tiers that keeps the list events and
// the ids of the clicks.
class ListDialog : public CBkDialogViewImplEx {
  public:
    ListDialog()
        : CBkDialogViewImplEx(kLayoutId, &CBkStandardTier::Instance(),
                              std::make_unique<CBkControlCreator>()) {
        SetShadowEnabled(false);
    }
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->code == kNotifyList) {
                listEvents.push_back(reinterpret_cast<const BkNotifyList*>(lParam)->event);
            }
            if (header->idFrom == kHostNotifySource && header->code == kNotifyClick) {
                clicks.push_back(reinterpret_cast<const BkNotify*>(lParam)->controlId);
            }
        }
        return CBkDialogViewImplEx::ProcessWindowMessage(window, message, wParam, lParam, result);
    }
    std::vector<int> listEvents;
    std::vector<UINT> clicks;
};

const char kLayout[] =
    "<layer width=\"300\" height=\"200\"><body crbg=\"FFFFFF\">"
    "<listwnd id=\"50\" pos=\"10,10,210,110\">"
    "<listitem id=\"51\" height=\"40\" crbg=\"F6F6F6\"/>"
    "<listitem id=\"52\" height=\"40\" crbg=\"F6F6F6\"/>"
    "<listitem id=\"53\" height=\"40\" crbg=\"F6F6F6\"/></listwnd>"
    "<text id=\"60\" pos=\"220,10,290,40\"/></body></layer>";

class ListHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sources_.InFolder(kLayoutId, kLayout);
        ASSERT_NE(nullptr, dialog_.Create(nullptr));
    }
    void Print(test::Canvas& canvas) {
        ::SendMessageW(dialog_.Handle(), WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()),
                       PRF_CLIENT);
    }
    void Send(UINT message, WPARAM wParam, LPARAM lParam) {
        ::SendMessageW(dialog_.Handle(), message, wParam, lParam);
    }

    test::MarkupSources sources_;
    ListDialog dialog_;
};

TEST_F(ListHostTest, SetListItemAttributeChangesOneItemAndRepaintsIt) {
    CBkWindow* list = dialog_.GetListWnd(50);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(nullptr, dialog_.GetListWnd(60));
    test::Canvas canvas(300, 200, RGB(0, 0, 0));
    Print(canvas);
    EXPECT_EQ(RGB(0xF6, 0xF6, 0xF6), canvas.At(20, 70));

    EXPECT_TRUE(dialog_.SetListItemAttribute(list, 1, "crbg", L"E5484D"));
    Print(canvas);  // only the dirty part is painted again
    EXPECT_EQ(RGB(0xE5, 0x48, 0x4D), canvas.At(20, 70)) << "item 1 spans client y 50..90";
    EXPECT_EQ(RGB(0xF6, 0xF6, 0xF6), canvas.At(20, 30));

    EXPECT_FALSE(dialog_.SetListItemAttribute(list, 3, "crbg", L"000000"));
    EXPECT_FALSE(dialog_.SetListItemAttribute(list, -1, "crbg", L"000000"));
    EXPECT_FALSE(dialog_.SetListItemAttribute(dialog_.FindControl(60), 0, "crbg", L"000000"));
    EXPECT_FALSE(dialog_.SetListItemAttribute(nullptr, 0, "crbg", L"000000"));
    EXPECT_TRUE(dialog_.SetListItemAttribute(list, 2, "height", L"60"));
    EXPECT_EQ(60, static_cast<CBkListItem*>(dialog_.FindControl(53))->ItemHeight());
}

TEST_F(ListHostTest, HostInputReachesTheListItemsAndTheWheel) {
    auto* list = static_cast<CBkListWnd*>(dialog_.GetListWnd(50));
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(20, list->ScrollBar()->Range());
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(50, 70));
    EXPECT_EQ(list->Handle(), dialog_.HoveredControl());
    EXPECT_EQ((std::vector<int>{21}), dialog_.listEvents) << "hover on item 1";
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(50, 70));
    EXPECT_EQ(20, list->ScrollPosition());
    EXPECT_EQ(20, list->Items()[1]->Rect().top);
}

TEST(ToggleHostTest, FastSecondClickOnACheckBoxOrRadioButtonClicksAgain) {
    struct Case {
        UINT id;
        POINT at;
        bool checkedAfter;
    };
    const Case cases[] = {{5, {20, 20}, false}, {6, {20, 60}, true}};
    test::MarkupSources sources;
    sources.InFolder(kLayoutId,
                     "<layer width=\"200\" height=\"100\"><body>"
                     "<check id=\"5\" pos=\"10,10,100,30\">a</check>"
                     "<radio id=\"6\" pos=\"10,50,100,70\">b</radio></body></layer>");
    ListDialog dialog;
    ASSERT_NE(nullptr, dialog.Create(nullptr));
    for (const Case& c : cases) {
        dialog.clicks.clear();
        // What a window of a CS_DBLCLKS class gets for two fast clicks.
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            ::SendMessageW(dialog.Handle(), message, 0, MAKELPARAM(c.at.x, c.at.y));
        }
        EXPECT_EQ((std::vector<UINT>{c.id, c.id}), dialog.clicks);
        EXPECT_EQ(c.checkedAfter, dialog.GetItemCheck(static_cast<int>(c.id))) << c.id;
    }
}

}  // namespace
}  // namespace velora
