#include "markup/value_parsers.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

namespace velora {
namespace {

TEST(DecimalValueTest, SignDigitsAndTrailingText) {
    EXPECT_EQ(42, ParseDecimal("42"));
    EXPECT_EQ(-17, ParseDecimal("-17px"));
    EXPECT_EQ(12, ParseDecimal("12,34"));
    EXPECT_EQ(0, ParseDecimal(""));
    EXPECT_EQ(0, ParseDecimal("-"));
    EXPECT_EQ(0, ParseDecimal("+5")) << "only a minus sign is recognised";
    EXPECT_EQ(0, ParseDecimal(" 5")) << "no leading blanks";
    EXPECT_EQ(0, ParseDecimal("0x25")) << "no hexadecimal prefix";
    EXPECT_EQ(0, ParseDecimal(static_cast<const char*>(nullptr)));
}

TEST(DecimalValueTest, ReportsWhereReadingStopped) {
    const char* text = "-64,15";
    const char* end = nullptr;
    EXPECT_EQ(-64, ParseDecimal(text, &end));
    EXPECT_EQ(text + 3, end);
    const char* none = "abc";
    ParseDecimal(none, &end);
    EXPECT_EQ(none, end) << "nothing consumed when there are no digits";
}

TEST(DecimalValueTest, OverflowSaturates) {
    EXPECT_EQ(INT_MAX, ParseDecimal("2147483647"));
    EXPECT_EQ(INT_MAX, ParseDecimal("2147483648"));
    EXPECT_EQ(INT_MIN, ParseDecimal("-2147483648"));
    EXPECT_EQ(INT_MIN, ParseDecimal("-2147483649"));
    EXPECT_EQ(INT_MAX, ParseDecimal(std::string(5000, '9')));
    EXPECT_EQ(INT_MIN, ParseDecimal("-" + std::string(5000, '7')));
}

TEST(FlagValueTest, AnyNonZeroIntegerIsTrue) {
    EXPECT_TRUE(ParseFlag("1"));
    EXPECT_TRUE(ParseFlag("-3"));
    EXPECT_FALSE(ParseFlag("0"));
    EXPECT_FALSE(ParseFlag("true"));
    EXPECT_FALSE(ParseFlag(""));
}

TEST(ColorValueTest, RedGreenBluePairsEitherCase) {
    EXPECT_EQ(0x00FAA03Du, ParseColor("3DA0FA"));
    EXPECT_EQ(ParseColor("F6F6F6"), ParseColor("f6f6f6"));
    EXPECT_EQ(0x00FFFFFFu, ParseColor("FFFFFF"));
    EXPECT_EQ(0u, ParseColor("000000"));
}

TEST(ColorValueTest, BadOrMissingPairsGiveZeroForThatComponentOnly) {
    EXPECT_EQ(RGB(0, 0xA0, 0xFA), ParseColor("G1A0FA")) << "bad red pair";
    EXPECT_EQ(RGB(0x3D, 0, 0xFA), ParseColor("3Dz0FA")) << "bad green pair";
    EXPECT_EQ(RGB(0x3D, 0xA0, 0), ParseColor("3DA0F")) << "short value";
    EXPECT_EQ(RGB(0x3D, 0, 0), ParseColor("3D"));
    EXPECT_EQ(0u, ParseColor(""));
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), ParseColor("123456789")) << "extra characters ignored";
    EXPECT_EQ(0u, ParseColor("\xE7\xBA\xA2\xE8\x89\xB2")) << "non-ASCII";
}

TEST(HexCodeValueTest, DigitsWithoutPrefix) {
    EXPECT_EQ(0x25u, ParseHexCode("25"));
    EXPECT_EQ(0x8030u, ParseHexCode("8030"));
    EXPECT_EQ(0x0102u, ParseHexCode("0102"));
    EXPECT_EQ(0xABCDu, ParseHexCode("abCD"));
    EXPECT_EQ(0u, ParseHexCode(""));
}

TEST(HexCodeValueTest, AnyOtherCharacterMakesTheWholeValueZero) {
    EXPECT_EQ(0u, ParseHexCode("0x25"));
    EXPECT_EQ(0u, ParseHexCode("25 "));
    EXPECT_EQ(0u, ParseHexCode("-1"));
    EXPECT_EQ(0xDEADBEEFu, ParseHexCode("1DEADBEEF")) << "beyond 32 bits keeps the low bits";
}

TEST(DisplayTextTest, Utf8ToUtf16AndBack) {
    EXPECT_EQ(L"开始安装", Utf8ToUtf16("\xE5\xBC\x80\xE5\xA7\x8B\xE5\xAE\x89\xE8\xA3\x85"));
    EXPECT_EQ(L"", Utf8ToUtf16(""));
    EXPECT_EQ("\xE6\x8F\x90\xE7\xA4\xBA", Utf16ToUtf8(L"提示"));
}

TEST(DisplayTextTest, TruncatedUtf8DoesNotLoseTheRest) {
    // The last character is cut after its first byte.
    const std::wstring text = Utf8ToUtf16("ab\xE5\xBC");
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(L"ab", text.substr(0, 2));
}

// Random and mutated values must never crash and must stay in range.
TEST(ValueParsersRobustnessTest, RandomInputs) {
    std::mt19937 random(20261209);
    const std::string seeds[] = {"3DA0FA", "-64", "0102", "8030", "2147483647", "\xE5\xBC\x80"};
    for (int round = 0; round < 5000; ++round) {
        std::string text = seeds[round % 6];
        const int edits = random() % 8;
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = text.empty() ? 0 : random() % (text.size() + 1);
            switch (random() % 3) {
                case 0:
                    text.insert(at, 1, static_cast<char>(random() % 256));
                    break;
                case 1:
                    if (!text.empty() && at < text.size()) {
                        text.erase(at, 1);
                    }
                    break;
                default:
                    text.insert(at,
                                std::string(random() % 40, static_cast<char>('0' + random() % 10)));
            }
        }
        const std::int32_t decimal = ParseDecimal(text);
        (void)decimal;
        EXPECT_LE(ParseColor(text), 0x00FFFFFFu);
        ParseHexCode(text);
        const std::wstring wide = Utf8ToUtf16(text);
        EXPECT_LE(wide.size(), text.size());
    }
}

}  // namespace
}  // namespace velora
