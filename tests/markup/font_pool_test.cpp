#include "markup/font_pool.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace velora {
namespace {

const wchar_t* const kProbedValues[] = {
    L"微软雅黑 (TrueType)",
    L"Microsoft YaHei (TrueType)",
    L"Microsoft YaHei (TrueType) & Microsoft YaHei UI (TrueType)",
    L"宋体 & 新宋体 (TrueType)",
    L"SimSun & NSimSun (TrueType)",
};

// Removes the probed values from the machine's font list for a test and puts
// back whatever was there before.
class FontListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kFontsKeyPath, 0, nullptr, 0,
                                                   KEY_READ | KEY_WRITE, nullptr, &key_, nullptr));
        for (const wchar_t* value : kProbedValues) {
            wchar_t data[512] = {};
            DWORD bytes = sizeof(data) - sizeof(wchar_t);
            if (::RegQueryValueExW(key_, value, nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                                   &bytes) == ERROR_SUCCESS) {
                saved_.push_back({value, data});
            }
            ::RegDeleteValueW(key_, value);
        }
    }
    void TearDown() override {
        for (const wchar_t* value : kProbedValues) {
            ::RegDeleteValueW(key_, value);
        }
        for (const auto& [name, data] : saved_) {
            Register(name.c_str(), data.c_str());
        }
        ::RegCloseKey(key_);
    }
    void Register(const wchar_t* value, const wchar_t* file = L"font.ttf") {
        ::RegSetValueExW(key_, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(file),
                         static_cast<DWORD>((std::wcslen(file) + 1) * sizeof(wchar_t)));
    }

    HKEY key_ = nullptr;
    std::vector<std::pair<std::wstring, std::wstring>> saved_;
};

TEST_F(FontListTest, NoPreferredFaceFallsBackToSongti) {
    EXPECT_EQ(L"宋体", ProbeBaseFace());
}

TEST_F(FontListTest, ProbeOrderPrefersYaHeiThenSongti) {
    Register(L"SimSun & NSimSun (TrueType)");
    EXPECT_EQ(L"SimSun", ProbeBaseFace());
    Register(L"宋体 & 新宋体 (TrueType)");
    EXPECT_EQ(L"宋体", ProbeBaseFace());
    Register(L"Microsoft YaHei (TrueType) & Microsoft YaHei UI (TrueType)");
    EXPECT_EQ(L"Microsoft YaHei", ProbeBaseFace());
    Register(L"微软雅黑 (TrueType)");
    EXPECT_EQ(L"微软雅黑", ProbeBaseFace());
}

LOGFONTW Describe(HFONT font) {
    LOGFONTW info = {};
    ::GetObjectW(font, sizeof(info), &info);
    return info;
}

TEST(FontPoolTest, ClearTypeOnlyForTheTwoYaHeiNames) {
    const std::pair<const wchar_t*, BYTE> cases[] = {{L"Microsoft YaHei", CLEARTYPE_QUALITY},
                                                     {L"微软雅黑", CLEARTYPE_QUALITY},
                                                     {L"SimSun", ANTIALIASED_QUALITY},
                                                     {L"microsoft yahei", ANTIALIASED_QUALITY}};
    for (const auto& [face, quality] : cases) {
        BkFontPool pool(face, -12);
        EXPECT_EQ(quality, Describe(pool.GetFont(0)).lfQuality);
        EXPECT_EQ(quality, Describe(pool.GetFont(0x0104)).lfQuality) << "derived fonts too";
    }
}

TEST(FontPoolTest, CodesGiveStyleBitsAndSizeSteps) {
    BkFontPool pool(L"SimSun", -12);
    HFONT underlinedLarger = pool.GetFont(0x0102);
    ASSERT_NE(nullptr, underlinedLarger);
    EXPECT_EQ(underlinedLarger, pool.GetFont(0x0102)) << "cached";
    const LOGFONTW u = Describe(underlinedLarger);
    EXPECT_EQ(-13, u.lfHeight);
    EXPECT_TRUE(u.lfUnderline);
    EXPECT_FALSE(u.lfItalic);
    EXPECT_EQ(FW_NORMAL, u.lfWeight);

    const LOGFONTW bold = Describe(pool.GetFont(0x0005));
    EXPECT_EQ(FW_BOLD, bold.lfWeight);
    EXPECT_TRUE(bold.lfItalic);
    EXPECT_EQ(-12, bold.lfHeight);

    EXPECT_EQ(-21, Describe(pool.GetFont(0x0900)).lfHeight);
    EXPECT_EQ(-11, Describe(pool.GetFont(0xFF00)).lfHeight) << "a signed byte: one smaller";
    EXPECT_EQ(9, pool.GetSizeStep(pool.GetFont(0x0900)));
    EXPECT_EQ(-1, pool.GetSizeStep(pool.GetFont(0xFF00)));
    EXPECT_EQ(pool.GetFont(0x0100), pool.GetFont(0x10100)) << "other bits make the same font";
}

// Codes that differ only in bits no font depends on must not each take a GDI
// object: a document full of odd codes could otherwise exhaust the process.
TEST(FontPoolTest, IgnoredBitsDoNotGrowTheCache) {
    BkFontPool pool(L"SimSun", -12);
    HFONT bold = pool.GetFont(0x0004);
    const std::size_t cached = pool.Count();
    for (std::uint32_t high = 1; high < 5000; ++high) {
        ASSERT_EQ(bold, pool.GetFont((high << 16) | 0x0004 | (high & 0xF0 ? 0x0080 : 0)));
    }
    EXPECT_EQ(cached, pool.Count());
}

TEST(FontPoolTest, SetBaseFontRebuildsOnlyCodeZero) {
    BkFontPool pool(L"SimSun", -12);
    HFONT larger = pool.GetFont(0x0100);
    pool.SetBaseFont(L"Microsoft YaHei", -14);
    EXPECT_EQ(L"Microsoft YaHei", pool.BaseFace());
    EXPECT_EQ(-14, Describe(pool.GetFont(0)).lfHeight);
    EXPECT_EQ(larger, pool.GetFont(0x0100));
    EXPECT_EQ(-13, Describe(larger).lfHeight);
}

}  // namespace
}  // namespace velora
