#include "ui/accessible_client.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <memory>
#include <vector>

#include "tests/support/markup_sources.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_controls.h"
#include "ui/host_window.h"
#include "ui/notification.h"

namespace velora {
namespace {

constexpr UINT kLayoutId = 3911;

// Shown: 1, the button 2 (in a panel) and 5 (no text, named by its tip);
// 3 is hidden and 4 lies below the window's edge.
const char kLayout[] =
    "<layer width=\"400\" height=\"300\"><body>"
    "<text id=\"1\" pos=\"10,10,110,30\">标题</text>"
    "<dlg pos=\"0,40,-0,100\"><dlgbtnEx2 id=\"2\" pos=\"10,0,110,40\">"
    "<text pos=\"0,0,-0,-0\">开始</text></dlgbtnEx2></dlg>"
    "<text id=\"3\" pos=\"10,120,110,140\" show=\"0\">藏</text>"
    "<text id=\"4\" pos=\"10,320,110,340\">外</text>"
    "<text id=\"5\" pos=\"200,10,300,30\" tip=\"提示名\"/>"
    "</body></layer>";

class ClickCounter : public CBkDialogViewImplEx {
  public:
    ClickCounter()
        : CBkDialogViewImplEx(kLayoutId, &standard_, std::make_unique<test::TestExtendedTier>()) {
        SetShadowEnabled(false);
    }
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_NOTIFY) {
            const auto* notify = reinterpret_cast<const BkNotify*>(lParam);
            if (notify->hdr.idFrom == kHostNotifySource && notify->hdr.code == kNotifyClick) {
                clicked.push_back(notify->controlId);
            }
        }
        return CBkDialogViewImplEx::ProcessWindowMessage(window, message, wParam, lParam, result);
    }
    std::vector<UINT> clicked;

  private:
    test::TestStandardTier standard_;
};

VARIANT Child(LONG id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

class AccessibleClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::CoInitialize(nullptr);
        sources_.InFolder(kLayoutId, kLayout);
        ASSERT_NE(nullptr, dialog_.Create(nullptr));
    }
    void TearDown() override { ::CoUninitialize(); }

    IAccessible* Object() {
        IAccessible* object = nullptr;
        EXPECT_EQ(S_OK, ::AccessibleObjectFromWindow(
                            dialog_.Handle(), static_cast<DWORD>(OBJID_CLIENT),
                            __uuidof(IAccessible), reinterpret_cast<void**>(&object)));
        return object;
    }
    LONG HandleOf(int id) { return dialog_.FindControl(id)->Handle(); }

    test::MarkupSources sources_;
    ClickCounter dialog_;
};

TEST_F(AccessibleClientTest, ChildrenAreTheShownControlsWhereTheyAreOnTheScreen) {
    IAccessible* object = Object();
    ASSERT_NE(nullptr, object);
    long count = 0;
    EXPECT_EQ(S_OK, object->get_accChildCount(&count));
    std::vector<VARIANT> children(8);
    long got = 0;
    EXPECT_EQ(S_FALSE, ::AccessibleChildren(object, 0, 8, children.data(), &got)) << "fewer";
    std::vector<LONG> ids;
    for (long i = 0; i < got; ++i) {
        ids.push_back(children[i].lVal);
    }
    EXPECT_EQ((std::vector<LONG>{HandleOf(1), HandleOf(2), HandleOf(5)}), ids);
    EXPECT_EQ(got, count);

    VARIANT role;
    BSTR name = nullptr;
    ASSERT_EQ(S_OK, object->get_accRole(Child(HandleOf(2)), &role));
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, role.lVal);
    ASSERT_EQ(S_OK, object->get_accName(Child(HandleOf(2)), &name));
    EXPECT_STREQ(L"开始", name) << "the caption is the child text";
    ::SysFreeString(name);
    ASSERT_EQ(S_OK, object->get_accRole(Child(HandleOf(5)), &role));
    EXPECT_EQ(ROLE_SYSTEM_GRAPHIC, role.lVal);

    POINT origin = {0, 0};
    ::ClientToScreen(dialog_.Handle(), &origin);
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(S_OK, object->accLocation(&left, &top, &width, &height, Child(HandleOf(2))));
    EXPECT_EQ((std::vector<long>{origin.x + 10, origin.y + 40, 100, 40}),
              (std::vector<long>{left, top, width, height}));

    VARIANT hit;
    ASSERT_EQ(S_OK, object->accHitTest(origin.x + 60, origin.y + 60, &hit));
    EXPECT_EQ(HandleOf(2), hit.lVal);
    ASSERT_EQ(S_OK, object->accHitTest(origin.x + 350, origin.y + 200, &hit));
    EXPECT_EQ(CHILDID_SELF, hit.lVal);
    VARIANT next;
    ASSERT_EQ(S_OK, object->accNavigate(NAVDIR_NEXT, Child(HandleOf(1)), &next));
    EXPECT_EQ(HandleOf(2), next.lVal);

    VARIANT state;
    ASSERT_EQ(S_OK, object->get_accState(Child(HandleOf(3)), &state));
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_INVISIBLE);
    EXPECT_EQ(E_INVALIDARG, object->get_accState(Child(HandleOf(2) + 1000), &state));
    object->Release();
}

TEST_F(AccessibleClientTest, DefaultActionIsPostedThenClicks) {
    IAccessible* object = Object();
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, object->accDoDefaultAction(Child(HandleOf(1))));
    EXPECT_EQ(S_OK, object->accDoDefaultAction(Child(HandleOf(2))));
    EXPECT_TRUE(dialog_.clicked.empty()) << "the call returns before the click";
    test::PumpFor(50);
    EXPECT_EQ(std::vector<UINT>{2}, dialog_.clicked);
    object->Release();
}

TEST_F(AccessibleClientTest, EveryObjectIsReleasedAndOneKeptAfterTheWindowAnswersNotConnected) {
    const long before = AccessibleClient::LiveObjects();
    for (int i = 0; i < 50; ++i) {
        IAccessible* object = Object();
        ASSERT_NE(nullptr, object);
        VARIANT children[4];
        long got = 0;
        ::AccessibleChildren(object, 0, 4, children, &got);
        object->Release();
    }
    EXPECT_EQ(before, AccessibleClient::LiveObjects());

    IAccessible* kept = Object();
    ASSERT_NE(nullptr, kept);
    ::DestroyWindow(dialog_.Handle());
    long count = 0;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, kept->get_accChildCount(&count));
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, kept->accDoDefaultAction(Child(HandleOf(2))));
    kept->Release();
    EXPECT_EQ(before, AccessibleClient::LiveObjects());
}

}  // namespace
}  // namespace velora
