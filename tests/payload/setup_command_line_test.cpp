#include "payload/setup/command_line.h"

#include <gtest/gtest.h>

namespace demo_setup {
namespace {

std::wstring Find(const wchar_t* line) {
    wchar_t out[260] = {};
    return FindInstallPath(line, out, 260) ? std::wstring(out) : L"<none>";
}

TEST(DemoSetupCommandLineTest, ReadsQuotedDirectoryAfterQuotedProgram) {
    EXPECT_EQ(L"D:\\My Apps\\Velora",
              Find(L"\"C:\\Temp dir\\vel10.tmp\" /instpath=\"D:\\My Apps\\Velora\""));
    // A trailing separator inside the quotes is kept, not read as an escape.
    EXPECT_EQ(L"D:\\", Find(L"C:\\t\\vel10.tmp /instpath=\"D:\\\""));
    EXPECT_EQ(L"D:\\Plain", Find(L"setup.exe /INSTPATH=D:\\Plain  "));
}

TEST(DemoSetupCommandLineTest, IgnoresSwitchInsideProgramPathAndRejectsEmpty) {
    EXPECT_EQ(L"<none>", Find(L"\"C:\\x /instpath=\\setup.exe\""));
    EXPECT_EQ(L"<none>", Find(L"setup.exe /instpath=\"\""));
    EXPECT_EQ(L"<none>", Find(L"setup.exe"));
    const std::wstring tooLong = L"setup.exe /instpath=\"" + std::wstring(300, L'a') + L"\"";
    EXPECT_EQ(L"<none>", Find(tooLong.c_str()));
}

}  // namespace
}  // namespace demo_setup
