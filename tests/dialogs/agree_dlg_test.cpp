#include "app/agree_dlg.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <functional>
#include <vector>

#include "app/msg_dlg.h"
#include "controls/list_controls.h"
#include "controls/list_item.h"
#include "controls/list_scroll_bar.h"
#include "controls/rich_text2_window.h"
#include "tests/support/modal_driver.h"

namespace velora {
namespace {

using test::PumpFor;
using test::SendClickRecord;

// Any installer window can own the agreement; a message dialog is the smallest.
class Agreement : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(owner_.Create(nullptr), nullptr);
        ::ShowWindow(owner_.Handle(), SW_SHOW);
        agreement_ = CAgreeDlg::Open(owner_);
        ASSERT_NE(agreement_, nullptr);
        window_ = agreement_->Handle();
        PumpFor(100);  // the posted height fit
    }
    void TearDown() override {
        if (::IsWindow(window_)) {
            ::DestroyWindow(window_);
        }
    }

    CBkListWnd* List() { return dynamic_cast<CBkListWnd*>(agreement_->GetListWnd(201)); }

    CMsgDlg owner_;
    CAgreeDlg* agreement_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(Agreement, OpensInPlaceOfItsOwner) {
    EXPECT_TRUE(::IsWindowVisible(window_));
    EXPECT_FALSE(::IsWindowVisible(owner_.Handle()));
    RECT rect;
    ::GetWindowRect(window_, &rect);
    EXPECT_EQ(rect.right - rect.left, 610);
    EXPECT_EQ(rect.bottom - rect.top, 410);
}

TEST_F(Agreement, TheItemGrowsToTheWholeTextAndTheListScrollsToItsEnd) {
    CBkListWnd* list = List();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->ItemCount(), 1);
    auto* item = dynamic_cast<CBkListItem*>(list->ItemAt(0));
    ASSERT_NE(item, nullptr);
    CBkRichText2Wnd* text = nullptr;
    for (const auto& child : item->Children()) {
        if (child->Id() == 106) {
            text = dynamic_cast<CBkRichText2Wnd*>(child.get());
        }
    }
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(item->ItemHeight(), static_cast<int>(text->ContentBottom()));
    EXPECT_GT(item->ItemHeight(), 270 * 3) << "the licence is much longer than the list";

    const int page = list->Rect().bottom - list->Rect().top;
    list->ScrollToY(1000000, true);
    EXPECT_EQ(list->ScrollPosition(), item->ItemHeight() - page);
    // Items are placed in the list's own coordinates.
    EXPECT_EQ(item->Rect().bottom, page) << "the text's end is in view";
}

class AgreementClosing : public Agreement, public ::testing::WithParamInterface<int> {};

TEST_P(AgreementClosing, ClosingShowsTheOwnerAgain) {
    SendClickRecord(window_, static_cast<UINT>(GetParam()));
    PumpFor(50);
    EXPECT_FALSE(::IsWindow(window_));
    EXPECT_TRUE(::IsWindowVisible(owner_.Handle()));
}

INSTANTIATE_TEST_SUITE_P(ByButton, AgreementClosing, ::testing::Values(100, 101, 202));

class AgreementClosedFromOutside : public Agreement,
                                   public ::testing::WithParamInterface<test::CloseWay> {};

TEST_P(AgreementClosedFromOutside, ShowsTheOwnerAgainLikeItsCloseButton) {
    test::PostClose(window_, GetParam());
    PumpFor(50);
    EXPECT_FALSE(::IsWindow(window_));
    EXPECT_TRUE(::IsWindowVisible(owner_.Handle()));
}

INSTANTIATE_TEST_SUITE_P(ByRequest, AgreementClosedFromOutside,
                         ::testing::ValuesIn(test::kCloseWays));

TEST_F(Agreement, MinimisingLeavesTheOwnerHidden) {
    SendClickRecord(window_, CAgreeDlg::kMinimise);
    PumpFor(50);
    EXPECT_TRUE(::IsWindow(window_));
    EXPECT_TRUE(::IsIconic(window_));
    EXPECT_FALSE(::IsWindowVisible(owner_.Handle()));
}

TEST_F(Agreement, OtherClicksLeaveItOpen) {
    SendClickRecord(window_, 555);
    PumpFor(50);
    EXPECT_TRUE(::IsWindowVisible(window_));
}

}  // namespace
}  // namespace velora

namespace velora {
namespace {

// Keys reach the modeless agreement through its owner's modal loop, as they
// do from the main window: the licence list has the focus and scrolls by
// lines, pages and to either end; Escape closes the agreement.
TEST(AgreementKeys, TheLicenceScrollsAndEscapeClosesIt) {
    constexpr int kLine = CBkListWnd::kLineStep;
    struct Step {
        UINT key;
        int (*position)(int page, int range);
    };
    const Step keys[] = {
        {VK_DOWN, [](int, int) { return kLine; }},
        {VK_NEXT, [](int page, int) { return page; }},  // a page less the line kept in sight
        {VK_END, [](int, int range) { return range; }},
        {VK_DOWN, [](int, int range) { return range; }},
        {VK_UP, [](int, int range) { return range - kLine; }},
        {VK_HOME, [](int, int) { return 0; }},
        {VK_PRIOR, [](int, int) { return 0; }},
    };
    CMsgDlg owner;
    CAgreeDlg* agreement = nullptr;
    HWND window = nullptr;
    CBkListWnd* list = nullptr;
    std::vector<std::function<void()>> steps = {
        [&] {
            agreement = CAgreeDlg::Open(owner);
            ASSERT_NE(agreement, nullptr);
            window = agreement->Handle();
        },
        [&] {
            list = dynamic_cast<CBkListWnd*>(agreement->GetListWnd(CAgreeDlg::kList));
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(agreement->FocusedControl(), list->Handle());
        }};
    for (const Step& step : keys) {
        steps.push_back([step] { test::PostKey(step.key); });
        steps.push_back([&list, step] {
            ASSERT_NE(list, nullptr);
            const CBkWindowScollBar& bar = *list->ScrollBar();
            EXPECT_EQ(list->ScrollPosition(), step.position(bar.Page(), bar.Range())) << step.key;
        });
    }
    steps.push_back([] { test::PostKey(VK_ESCAPE); });
    steps.push_back([&] {
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_TRUE(::IsWindowVisible(owner.Handle()));
        owner.EndDialog(0);
    });
    test::RunStepsFromMessageLoop(60, std::move(steps));
    owner.DoModal(nullptr);
    test::DropPendingActions();
    if (::IsWindow(window)) {
        ::DestroyWindow(window);
    }
}

}  // namespace
}  // namespace velora
