#include "app/msg_dlg.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/driver.h"
#include "ui/bk_container.h"
#include "ui/bk_window.h"
#include "tests/support/modal_driver.h"

namespace velora {
namespace {

using test::RunFromMessageLoop;
using test::SendClickRecord;

struct Seen {
    bool shown = false;
    std::wstring title;
    std::wstring text;
    RECT rect = {};
};

// Runs the dialog modally and clicks `button` once it is up.
int RunAndClick(CMsgDlg& dialog, UINT button, Seen* seen = nullptr) {
    RunFromMessageLoop(50, [&dialog, button, seen] {
        if (seen != nullptr) {
            seen->shown = ::IsWindowVisible(dialog.Handle()) != FALSE;
            wchar_t title[64] = {};
            ::GetWindowTextW(dialog.Handle(), title, 64);
            seen->title = title;
            ::GetWindowRect(dialog.Handle(), &seen->rect);
        }
        SendClickRecord(dialog.Handle(), button);
    });
    return dialog.DoModal(nullptr);
}

TEST(MessageDialog, ButtonsEndTheModalRunWithTheirResults) {
    {
        CMsgDlg dialog;
        Seen seen;
        EXPECT_EQ(RunAndClick(dialog, CMsgDlg::kButtonOne, &seen), 1);
        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(seen.title, L"提示");
        EXPECT_EQ(seen.rect.right - seen.rect.left, 412);
        EXPECT_EQ(seen.rect.bottom - seen.rect.top, 190);
    }
    {
        CMsgDlg dialog;
        EXPECT_EQ(RunAndClick(dialog, CMsgDlg::kButtonZero), 0);
    }
}

TEST(MessageDialog, OtherClicksDoNotEndIt) {
    CMsgDlg dialog;
    RunFromMessageLoop(50, [&dialog] {
        SendClickRecord(dialog.Handle(), 555);
        const bool stillUp = ::IsWindow(dialog.Handle()) && ::IsWindowVisible(dialog.Handle());
        EXPECT_TRUE(stillUp);
        SendClickRecord(dialog.Handle(), CMsgDlg::kButtonOne);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), 1);
}

// Each built-in message layout: its size, its title and the captions of the
// two buttons, left 101 and right 100.
struct LayoutCase {
    UINT id;
    const wchar_t* message;
    const wchar_t* buttonZero;
    const wchar_t* buttonOne;
};

class MessageLayouts : public ::testing::TestWithParam<LayoutCase> {};

// Every text shown in the tree below `container`, in order.
void CollectTexts(const CBkDialog& container, std::vector<std::wstring>& texts) {
    for (const auto& child : container.Children()) {
        if (!child->Text().empty()) {
            texts.push_back(child->Text());
        }
        if (const auto* inner = dynamic_cast<const CBkDialog*>(child.get())) {
            CollectTexts(*inner, texts);
        }
    }
}

// The caption of a container button: the text of its child.
std::wstring Caption(CBkWindow* button) {
    std::vector<std::wstring> texts;
    if (const auto* container = dynamic_cast<const CBkDialog*>(button)) {
        CollectTexts(*container, texts);
    }
    return texts.empty() ? L"" : texts.front();
}

TEST_P(MessageLayouts, LoadWithTheirTextsAndButtonsInPlace) {
    const LayoutCase& c = GetParam();
    CMsgDlg dialog;
    if (c.id != kExitConfirmLayout) {
        ASSERT_TRUE(dialog.LoadLayout(c.id));
    }
    ASSERT_NE(dialog.Create(nullptr), nullptr);
    CBkWindow* zero = dialog.FindControl(CMsgDlg::kButtonZero);
    CBkWindow* one = dialog.FindControl(CMsgDlg::kButtonOne);
    ASSERT_NE(zero, nullptr);
    ASSERT_NE(one, nullptr);
    EXPECT_LT(zero->Rect().right, one->Rect().left) << "101 on the left, 100 on the right";
    EXPECT_EQ(zero->Rect().bottom, one->Rect().bottom);
    EXPECT_LE(one->Rect().right, 412);
    EXPECT_LE(one->Rect().bottom, 190);
    EXPECT_EQ(Caption(zero), c.buttonZero);
    EXPECT_EQ(Caption(one), c.buttonOne);
    std::vector<std::wstring> texts;
    CollectTexts(const_cast<CBkLayoutSections&>(dialog.Sections()).Body(), texts);
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"提示"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), c.message), texts.end());
    ::DestroyWindow(dialog.Handle());
}

INSTANTIATE_TEST_SUITE_P(
    BuiltIn, MessageLayouts,
    ::testing::Values(LayoutCase{kExitConfirmLayout, L"确定要退出安装流程吗？", L"确定", L"取消"},
                      LayoutCase{kOldSystemLayout, L"当前使用的操作系统版本过低，建议在",
                                 L"继续安装", L"取消"},
                      LayoutCase{kProductRunningLayout, L"Velora正在运行，继续运行会关闭",
                                 L"继续安装", L"退出安装"}));

// Closed other than by a button, every message dialog gives button 100's
// answer, the one that ends and starts nothing: "取消" on 104 and 107,
// "退出安装" on 108 (the running product is left alone), "关闭" on 109.
class MessageDialogClosing : public ::testing::TestWithParam<std::tuple<UINT, test::CloseWay>> {};

TEST_P(MessageDialogClosing, GivesTheAnswerOfButtonOneHundred) {
    CMsgDlg dialog;
    ASSERT_TRUE(dialog.LoadLayout(std::get<0>(GetParam())));
    const test::CloseWay way = std::get<1>(GetParam());
    RunFromMessageLoop(50, [&dialog, way] { test::PostClose(dialog.Handle(), way); });
    EXPECT_EQ(dialog.DoModal(nullptr), 1);
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, MessageDialogClosing,
                         ::testing::Combine(::testing::Values(kExitConfirmLayout, kOldSystemLayout,
                                                              kProductRunningLayout, kNoticeLayout),
                                            ::testing::ValuesIn(test::kCloseWays)));

// Keys through the modal loop. Button 100, the answer that changes nothing,
// is the default button and starts with the focus; Escape is the close
// request; Tab (either way round) reaches button 101.
struct KeysCase {
    std::vector<std::pair<UINT, bool>> keys;  // key, with Shift
    int result;
};

class MessageDialogKeys : public ::testing::TestWithParam<std::tuple<UINT, KeysCase>> {};

TEST_P(MessageDialogKeys, AnswerFromTheKeyboard) {
    const KeysCase& c = std::get<1>(GetParam());
    CMsgDlg dialog;
    ASSERT_TRUE(dialog.LoadLayout(std::get<0>(GetParam())));
    std::vector<std::function<void()>> steps;
    for (const auto& key : c.keys) {
        steps.push_back([key] { test::PostKey(key.first, key.second); });
    }
    // Ends a dialog the keys did not end, with a result no key gives.
    steps.push_back([] {});
    steps.push_back([&dialog] { dialog.EndDialog(-1); });
    test::RunStepsFromMessageLoop(40, std::move(steps));
    EXPECT_EQ(dialog.DoModal(nullptr), c.result);
    test::DropPendingActions();
}

INSTANTIATE_TEST_SUITE_P(
    EveryQuestion, MessageDialogKeys,
    ::testing::Combine(
        ::testing::Values(kExitConfirmLayout, kOldSystemLayout, kProductRunningLayout),
        ::testing::Values(KeysCase{{{VK_RETURN, false}}, 1}, KeysCase{{{VK_ESCAPE, false}}, 1},
                          KeysCase{{{VK_TAB, false}, {VK_RETURN, false}}, 0},
                          KeysCase{{{VK_TAB, true}, {VK_SPACE, false}}, 0},
                          KeysCase{{{VK_TAB, false}, {VK_TAB, false}, {VK_SPACE, false}}, 1})));

TEST(MessageDialog, AMissingLayoutReturnsZeroWithoutShowingAnything) {
    CMsgDlg dialog;
    EXPECT_FALSE(dialog.LoadLayout(9999));
    EXPECT_EQ(dialog.DoModal(nullptr), 0);
    EXPECT_EQ(dialog.Handle(), nullptr);
}

}  // namespace
}  // namespace velora

namespace velora {
namespace {

// The old-system warning the driver shows: found by its class and title,
// since the driver owns the dialog.
bool ConfirmOldSystemClicking(UINT button) {
    test::RunFromMessageLoop(50, [button] {
        HWND warning = ::FindWindowW(L"BkHostWindow", L"提示");
        ASSERT_NE(warning, nullptr);
        test::SendClickRecord(warning, button);
    });
    return ConfirmOldSystem();
}

TEST(OldSystemWarning, ContinueInstallsAndCancelEnds) {
    EXPECT_TRUE(ConfirmOldSystemClicking(CMsgDlg::kButtonZero));  // "继续安装"
    EXPECT_FALSE(ConfirmOldSystemClicking(CMsgDlg::kButtonOne));  // "取消"
}

}  // namespace
}  // namespace velora
