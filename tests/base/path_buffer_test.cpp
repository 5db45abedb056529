#include "base/path_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace velora {
namespace {

TEST(PathBufferTest, CopyKeepsTerminatorAndRefusesWhatDoesNotFit) {
    wchar_t buf[5] = L"old";
    EXPECT_TRUE(CopyBounded(buf, L"abcd"));  // four characters and the terminator: exact fit
    EXPECT_STREQ(L"abcd", buf);
    EXPECT_FALSE(CopyBounded(buf, L"abcde"));
    EXPECT_STREQ(L"abcd", buf) << "a refused copy must leave the buffer as it was";
    EXPECT_TRUE(CopyBounded(buf, nullptr));
    EXPECT_STREQ(L"", buf);
}

TEST(PathBufferTest, AppendRefusesOverflowAndUnterminatedDestination) {
    wchar_t buf[6] = L"ab";
    EXPECT_TRUE(AppendBounded(buf, L"cde"));
    EXPECT_STREQ(L"abcde", buf);
    EXPECT_FALSE(AppendBounded(buf, L"f"));
    EXPECT_STREQ(L"abcde", buf);

    wchar_t garbage[3] = {L'x', L'y', L'z'};  // no terminator anywhere
    EXPECT_FALSE(AppendBounded(garbage, L"a"));
    EXPECT_EQ(3u, BoundedLength(garbage, 3));
}

TEST(PathBufferTest, SeparatorAddedOnlyWhenNeeded) {
    PathBuffer dir = L"C:\\Apps";
    EXPECT_TRUE(AppendSeparator(dir));
    EXPECT_STREQ(L"C:\\Apps\\", dir);
    EXPECT_TRUE(AppendSeparator(dir));
    EXPECT_STREQ(L"C:\\Apps\\", dir);
    PathBuffer empty = L"";
    EXPECT_TRUE(AppendSeparator(empty));
    EXPECT_STREQ(L"", empty);
}

TEST(PathBufferTest, JoinPutsExactlyOneSeparatorBetweenParts) {
    PathBuffer out = {};
    EXPECT_TRUE(JoinPath(out, L"D:\\Velora", L"Profiles"));
    EXPECT_STREQ(L"D:\\Velora\\Profiles", out);
    EXPECT_TRUE(JoinPath(out, L"D:\\Velora\\", L"Profiles"));
    EXPECT_STREQ(L"D:\\Velora\\Profiles", out);
    EXPECT_TRUE(JoinPath(out, L"", L"Profiles"));
    EXPECT_STREQ(L"Profiles", out);
}

TEST(PathBufferTest, JoinMayReuseItsOwnResultAndIsAllOrNothing) {
    PathBuffer out = L"E:\\";
    EXPECT_TRUE(JoinPath(out, out, L"Velora"));
    EXPECT_STREQ(L"E:\\Velora", out);

    const std::wstring longTail(kPathChars - 8, L'x');
    EXPECT_FALSE(JoinPath(out, out, longTail.c_str()));
    EXPECT_STREQ(L"E:\\Velora", out);

    const std::wstring fits(kPathChars - 1 - 10, L'y');  // "E:\Velora\" is 10 characters
    EXPECT_TRUE(JoinPath(out, out, fits.c_str()));
    EXPECT_EQ(kPathChars - 1, BoundedLength(out, kPathChars));
}

}  // namespace
}  // namespace velora
