#include "base/bounded_format.h"

#include <gtest/gtest.h>

#include <climits>

namespace velora {
namespace {

TEST(BoundedFormatTest, FormatsWithTheSystemConversions) {
    wchar_t wide[32] = {};
    EXPECT_EQ(18, FormatBounded(wide, 32, L"%ls %lu 0x%02x", L"ab", 4294967295ul, 10u));
    EXPECT_STREQ(L"ab 4294967295 0x0a", wide) << "the length returned must be the text's";
    char narrow[16] = {};
    EXPECT_EQ(8, FormatBounded(narrow, sizeof narrow, "%f", 1.5));
    EXPECT_STREQ("1.500000", narrow);
}

TEST(BoundedFormatTest, TextThatDoesNotFitIsCutAndTerminated) {
    wchar_t wide[5] = {L'x', L'x', L'x', L'x', L'x'};
    EXPECT_EQ(-1, FormatBounded(wide, 5, L"%ls", L"abcdef"));
    EXPECT_STREQ(L"abcd", wide);
    char narrow[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(-1, FormatBounded(narrow, sizeof narrow, "%d", 12345));
    EXPECT_STREQ("123", narrow);
    EXPECT_EQ(-1, FormatBounded(wide, 0, L"%d", 1));
}

TEST(BoundedFormatTest, DecimalTextCoversTheWholeRange) {
    EXPECT_EQ(L"0", DecimalText(0));
    EXPECT_EQ(L"-7", DecimalText(-7));
    EXPECT_EQ(L"4294967295", DecimalText(UINT_MAX));
    EXPECT_EQ(L"-9223372036854775808", DecimalText(LLONG_MIN));
}

}  // namespace
}  // namespace velora
