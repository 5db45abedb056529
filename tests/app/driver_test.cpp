#include "app/driver.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

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
