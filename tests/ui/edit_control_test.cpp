#include "ui/edit_control.h"

#include <gtest/gtest.h>

#include "tests/support/test_host_window.h"

namespace velora {
namespace {

TEST(EditControlTest, OwnsANativeEditWithItsId) {
    test::TestHostWindow host;
    HWND edit = nullptr;
    {
        CBkEdit box;
        edit = box.Create(host.Handle(), 304, ES_AUTOHSCROLL, RECT{0, 0, 200, 24});
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(edit, ::GetDlgItem(host.Handle(), 304));
        box.SetLimit(5);
        box.SetText(L"D:\\Velora");
        EXPECT_EQ(L"D:\\Velora", box.GetText()) << "the limit applies to typing, not to SetText";
        box.SetText(L"");
        EXPECT_EQ(L"", box.GetText());
    }
    EXPECT_FALSE(::IsWindow(edit)) << "destroyed with its owner";
}

}  // namespace
}  // namespace velora
