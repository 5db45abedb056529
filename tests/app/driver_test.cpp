#include "app/driver.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

TEST(SilentSwitchTest, ExactSwitchInAnyCaseAndPosition) {
    EXPECT_TRUE(HasSilentSwitch(L"VeloraSetup.exe /s"));
    EXPECT_TRUE(HasSilentSwitch(L"VeloraSetup.exe /S"));
    EXPECT_TRUE(HasSilentSwitch(L"VeloraSetup.exe /x /S other"));
    EXPECT_TRUE(HasSilentSwitch(L"\"C:\\Down loads\\VeloraSetup.exe\" \"/s\""));
    // The program path takes part in the comparison too.
    EXPECT_TRUE(HasSilentSwitch(L"/s"));
}

TEST(SilentSwitchTest, NearMissesDoNotCount) {
    EXPECT_FALSE(HasSilentSwitch(L"VeloraSetup.exe"));
    EXPECT_FALSE(HasSilentSwitch(L"VeloraSetup.exe /silent"));
    EXPECT_FALSE(HasSilentSwitch(L"VeloraSetup.exe -s"));
    EXPECT_FALSE(HasSilentSwitch(L"VeloraSetup.exe s/"));
    EXPECT_FALSE(HasSilentSwitch(L"VeloraSetup.exe /s2"));
    EXPECT_FALSE(HasSilentSwitch(L"\"C:\\dir /s\\VeloraSetup.exe\""));
    EXPECT_FALSE(HasSilentSwitch(L""));
    EXPECT_FALSE(HasSilentSwitch(nullptr));
}

DWORD Version(BYTE major, BYTE minor) {
    return MAKELONG(MAKEWORD(major, minor), 7600);
}

TEST(OsSupportTest, WindowsXpAndLater) {
    EXPECT_FALSE(IsOsSupported(Version(4, 10)));
    EXPECT_FALSE(IsOsSupported(Version(5, 0)));
    EXPECT_TRUE(IsOsSupported(Version(5, 1)));
    EXPECT_TRUE(IsOsSupported(Version(5, 2)));
    EXPECT_TRUE(IsOsSupported(Version(6, 0)));
    EXPECT_TRUE(IsOsSupported(Version(10, 0)));
}

}  // namespace
}  // namespace velora
