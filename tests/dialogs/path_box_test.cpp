#include "app/path_box.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "base/window_scopes.h"
#include "markup/font_pool.h"

namespace velora {
namespace {

// A plain visible top-level window to hold the box.
class Parent {
  public:
    Parent() {
        window_ = ::CreateWindowExW(0, L"STATIC", L"path box parent", WS_POPUP | WS_VISIBLE, 10, 10,
                                    400, 100, nullptr, nullptr, nullptr, nullptr);
    }
    ~Parent() { ::DestroyWindow(window_); }
    HWND Handle() const { return window_; }

  private:
    HWND window_;
};

class PathBox : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(box_.Create(parent_.Handle(), 304,
                              WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_READONLY),
                  nullptr);
        ::MoveWindow(box_.Handle(), 20, 20, 300, 30, TRUE);
        edit_ = box_.Inner().Handle();
        ASSERT_NE(edit_, nullptr);
    }

    std::wstring EditText() const { return box_.GetText(); }

    Parent parent_;
    KEditInputEx box_;
    HWND edit_ = nullptr;
};

TEST_F(PathBox, InnerEditIsABandOfTheFontHeightCentredInTheBox) {
    EXPECT_EQ(::GetDlgCtrlID(edit_), static_cast<int>(KEditInputEx::kInnerEditId));
    RECT rect;
    ::GetWindowRect(edit_, &rect);
    POINT topLeft = {rect.left, rect.top};
    ::ScreenToClient(box_.Handle(), &topLeft);
    const int band = std::abs(BkFontPool::Instance().BaseHeight()) + 6;
    EXPECT_EQ(topLeft.x, 2);
    EXPECT_EQ(rect.right - rect.left, 296);
    EXPECT_EQ(rect.bottom - rect.top, band);
    EXPECT_EQ(topLeft.y, 2 + (26 - band) / 2);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(edit_, WM_GETFONT, 0, 0)),
              BkFontPool::Instance().GetFont(0));
}

TEST_F(PathBox, ShowsTheGivenTextOrThePlaceholder) {
    box_.SetText(L"C:\\Program Files\\Corvane Network\\Velora");
    EXPECT_EQ(EditText(), L"C:\\Program Files\\Corvane Network\\Velora");
    box_.Inner().SetPlaceholder(L"请选择目录");
    box_.SetText(L"");
    EXPECT_EQ(EditText(), L"请选择目录");
}

TEST_F(PathBox, AcceptsTypedDigitsOnly) {
    box_.SetText(L"");
    ::SendMessageW(edit_, WM_CHAR, L'a', 0);
    ::SendMessageW(edit_, WM_CHAR, L'7', 0);
    ::SendMessageW(edit_, WM_CHAR, L'\\', 0);
    EXPECT_EQ(EditText(), L"7");
}

TEST_F(PathBox, GreyWhileItShowsItsStoredTextDarkOtherwise) {
    HDC dc = ::GetDC(edit_);
    box_.SetText(L"");  // the stored text is empty
    const LRESULT brush =
        ::SendMessageW(box_.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(edit_));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(::GetTextColor(dc), KEditInputEx::kStoredTextColour);
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
    box_.SetText(L"D:\\Apps");
    EXPECT_EQ(::SendMessageW(box_.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(edit_)),
              brush)
        << "one brush, made once";
    EXPECT_EQ(::GetTextColor(dc), KEditInputEx::kEditedTextColour);
    ::ReleaseDC(edit_, dc);
}

TEST_F(PathBox, PlaceholderLeavesOnFocusAndComesBackWhenLeftEmpty) {
    box_.Inner().SetPlaceholder(L"请选择目录");
    box_.SetText(L"");
    ::SendMessageW(edit_, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(EditText(), L"");
    EXPECT_NE(::GetWindowLongPtrW(edit_, GWL_STYLE) & ES_NUMBER, 0);
    ::SendMessageW(edit_, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(EditText(), L"请选择目录");
    EXPECT_EQ(::GetWindowLongPtrW(edit_, GWL_STYLE) & ES_NUMBER, 0);
}

TEST_F(PathBox, EscapeIsSwallowed) {
    box_.SetText(L"12");
    EXPECT_EQ(::SendMessageW(edit_, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(::SendMessageW(edit_, WM_CHAR, VK_ESCAPE, 0), 0);
    EXPECT_EQ(EditText(), L"12");
}

TEST(PathBoxLife, TheBoxAndItsEditGoWithTheObject) {
    Parent parent;
    HWND box = nullptr;
    HWND edit = nullptr;
    {
        KEditInputEx owned;
        box = owned.Create(parent.Handle(), 304, WS_CHILD | WS_VISIBLE);
        edit = owned.Inner().Handle();
        ASSERT_TRUE(::IsWindow(edit));
    }
    EXPECT_FALSE(::IsWindow(box));
    EXPECT_FALSE(::IsWindow(edit));
}

}  // namespace
}  // namespace velora
