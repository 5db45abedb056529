#include "app/install_location.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "tests/support/test_registry.h"

namespace velora {
namespace {

using test::RegistryKeyRemoval;
using test::WriteRegistryString;
using test::WriteRegistryValue;

const std::wstring kOwnKey = L"SOFTWARE\\Corvane Network\\Velora";
const std::wstring kOemKey = kOemKeyPath;

std::wstring ProgramFilesDefault() {
    wchar_t folder[MAX_PATH] = {};
    EXPECT_TRUE(::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE));
    return std::wstring(folder) + L"\\Corvane Network\\Velora";
}

// Every case starts without either key and leaves none behind.
class ResolveInstallDirTest : public ::testing::Test {
  protected:
    std::wstring Resolve() {
        PathBuffer dir;
        std::fill(std::begin(dir), std::end(dir), L'#');
        if (!ResolveInstallDir(dir, nullptr)) {
            return L"<none>";
        }
        return dir;
    }

    RegistryKeyRemoval ownKey_{HKEY_LOCAL_MACHINE, kOwnKey};
    RegistryKeyRemoval oemKey_{HKEY_LOCAL_MACHINE, kOemKey};
};

TEST_F(ResolveInstallDirTest, OwnKeyIsUsedAsStored) {
    WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", L"D:\\Tools\\Somewhere Else");
    WriteRegistryString(HKEY_LOCAL_MACHINE, kOemKey, L"dir", L"D:\\Apps\\Corvane");
    EXPECT_EQ(L"D:\\Tools\\Somewhere Else", Resolve());
}

// Values a user-level process may have planted: only an absolute drive path
// is taken, from either key; a refused value moves on to the next source.
TEST_F(ResolveInstallDirTest, OnlyAbsoluteDrivePathsAreTaken) {
    const struct {
        const wchar_t* own;
        const wchar_t* oem;
        std::wstring expected;
    } cases[] = {
        {L"\\\\server\\share\\Velora", nullptr, L"<default>"},
        {L"\\\\?\\C:\\Velora", nullptr, L"<default>"},
        {L"\\\\.\\C:\\Velora", nullptr, L"<default>"},
        {L"Velora", nullptr, L"<default>"},
        {L"\\Velora", nullptr, L"<default>"},
        {L"C:Velora", nullptr, L"<default>"},
        {L"C:\\Apps\\..\\Windows", nullptr, L"<default>"},
        {L"C:\\Apps\\.\\Velora", nullptr, L"<default>"},
        {L"C:\\Apps\\Velora\" /x=\"", nullptr, L"<default>"},
        {L"C:\\Apps\\Velora:stream", nullptr, L"<default>"},
        {L"C:\\Apps\\Velora\\\\", nullptr, L"C:\\Apps\\Velora"},
        {L"C:\\Apps\\..\\Velora", L"D:\\Apps\\Corvane", L"D:\\Apps\\Velora"},
        {nullptr, L"\\\\server\\Apps\\Corvane", L"<default>"},
        {nullptr, L"D:\\Apps\\..\\Corvane", L"<default>"},
    };
    for (const auto& c : cases) {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kOwnKey.c_str());
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kOemKey.c_str());
        if (c.own != nullptr) {
            WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", c.own);
        }
        if (c.oem != nullptr) {
            WriteRegistryString(HKEY_LOCAL_MACHINE, kOemKey, L"dir", c.oem);
        }
        const std::wstring expected =
            c.expected == L"<default>" ? ProgramFilesDefault() : c.expected;
        EXPECT_EQ(expected, Resolve()) << (c.own ? c.own : c.oem);
    }
}

TEST_F(ResolveInstallDirTest, EmptyOwnValueFallsBackToOemSibling) {
    WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", L"");
    WriteRegistryString(HKEY_LOCAL_MACHINE, kOemKey, L"dir", L"D:\\Apps\\Corvane Network\\Corvane");
    EXPECT_EQ(L"D:\\Apps\\Corvane Network\\Velora", Resolve());
}

TEST_F(ResolveInstallDirTest, OemFolderOtherThanCorvaneFallsBackToDefault) {
    for (const wchar_t* oem : {L"D:\\Apps\\Corvane Network\\corvane", L"D:\\Apps\\Other",
                               L"D:\\Apps\\Corvane\\", L"Corvane", L"D:\\Apps\\CorvaneX"}) {
        WriteRegistryString(HKEY_LOCAL_MACHINE, kOemKey, L"dir", oem);
        EXPECT_EQ(ProgramFilesDefault(), Resolve()) << "OEM dir: " << std::wstring(oem).c_str();
    }
}

TEST_F(ResolveInstallDirTest, OemFolderAtDriveRootGivesSiblingAtRoot) {
    WriteRegistryString(HKEY_LOCAL_MACHINE, kOemKey, L"dir", L"D:\\Corvane");
    EXPECT_EQ(L"D:\\Velora", Resolve());
}

TEST_F(ResolveInstallDirTest, NoKeysGiveProgramFilesDefault) {
    EXPECT_EQ(ProgramFilesDefault(), Resolve());
}

TEST_F(ResolveInstallDirTest, ValueStoredWithoutTerminatorIsReadWhole) {
    const std::wstring value = L"D:\\NoTerminator";
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_SZ, value.data(),
                       static_cast<DWORD>(value.size() * sizeof(wchar_t)));
    EXPECT_EQ(value, Resolve());
}

TEST_F(ResolveInstallDirTest, LongestValueThatFitsIsTakenLongerIsRefused) {
    const std::wstring fits = L"D:\\" + std::wstring(kPathChars - 1 - 3, L'a');  // 259 characters
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_SZ, fits.data(),
                       static_cast<DWORD>(fits.size() * sizeof(wchar_t)));
    EXPECT_EQ(fits, Resolve());

    for (std::size_t length : {kPathChars, kPathChars + 40}) {
        const std::wstring tooLong = L"D:\\" + std::wstring(length - 3, L'b');
        WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_SZ, tooLong.data(),
                           static_cast<DWORD>(tooLong.size() * sizeof(wchar_t)));
        EXPECT_EQ(ProgramFilesDefault(), Resolve()) << "length " << length;
    }
}

TEST_F(ResolveInstallDirTest, ValueOfAnotherTypeIsReadAsText) {
    const wchar_t value[] = L"D:\\Binary";
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_BINARY, value, sizeof(value));
    EXPECT_EQ(L"D:\\Binary", Resolve());
    // An odd byte count cannot end in half a character: "D:" is left, which
    // is no absolute path, so the default is used.
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_BINARY, value, 5);
    EXPECT_EQ(ProgramFilesDefault(), Resolve());
}

TEST_F(ResolveInstallDirTest, UnterminatedValuesAtTheLimit) {
    // 259 characters without a terminator still fit once terminated here.
    const std::wstring fits = L"D:\\" + std::wstring(kPathChars - 1 - 3, L'c');
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_SZ, fits.data(),
                       static_cast<DWORD>(fits.size() * sizeof(wchar_t)));
    EXPECT_EQ(fits, Resolve());
    // 260 without a terminator fill the whole buffer: refused, not cut to 259.
    const std::wstring full = fits + L"d";
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_SZ, full.data(),
                       static_cast<DWORD>(full.size() * sizeof(wchar_t)));
    EXPECT_EQ(ProgramFilesDefault(), Resolve());
}

TEST_F(ResolveInstallDirTest, HugeValuesOfAnyTypeAreRefused) {
    const std::wstring huge = L"D:\\" + std::wstring(32000, L'h');
    for (DWORD type :
         {DWORD(REG_SZ), DWORD(REG_EXPAND_SZ), DWORD(REG_MULTI_SZ), DWORD(REG_BINARY)}) {
        WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", type, huge.c_str(),
                           static_cast<DWORD>((huge.size() + 1) * sizeof(wchar_t)));
        EXPECT_EQ(ProgramFilesDefault(), Resolve()) << "type " << type;
    }
}

TEST_F(ResolveInstallDirTest, ValuesOfOtherTypesStayBounded) {
    // Four bytes of a number read as two characters: terminated, nothing more.
    const DWORD number = 0x00420041;  // "AB"
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_DWORD, &number, sizeof(number));
    PathBuffer read = {};
    ASSERT_TRUE(ReadRegistryPath(HKEY_LOCAL_MACHINE, kOwnKey.c_str(), L"dir", read));
    EXPECT_STREQ(L"AB", read);
    EXPECT_EQ(ProgramFilesDefault(), Resolve()) << "no absolute path";
    // A list of strings: only the first one.
    const wchar_t list[] = L"D:\\First\0D:\\Second\0";
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_MULTI_SZ, list, sizeof(list));
    EXPECT_EQ(L"D:\\First", Resolve());
    // Nothing at all, or one zero byte: no directory from this key.
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_BINARY, list, 0);
    EXPECT_EQ(ProgramFilesDefault(), Resolve());
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", REG_BINARY, "\0", 1);
    EXPECT_EQ(ProgramFilesDefault(), Resolve());
}

TEST_F(ResolveInstallDirTest, OemValueTooLongOrUnterminatedIsRefused) {
    const std::wstring oem = L"D:\\" + std::wstring(kPathChars, L'o') + L"\\Corvane";
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOemKey, L"dir", REG_SZ, oem.data(),
                       static_cast<DWORD>(oem.size() * sizeof(wchar_t)));
    EXPECT_EQ(ProgramFilesDefault(), Resolve());
    // Read whole (no terminator), the sibling rule still applies.
    const std::wstring shortOem = L"D:\\Maker\\Corvane";
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kOemKey, L"dir", REG_SZ, shortOem.data(),
                       static_cast<DWORD>(shortOem.size() * sizeof(wchar_t)));
    EXPECT_EQ(L"D:\\Maker\\Velora", Resolve());
}

TEST_F(ResolveInstallDirTest, SpacesAndCharactersOutsideAsciiAreKept) {
    const std::wstring dir = L"D:\\Programme und Dateien\\安装 目录\\Ünïcode Velora";
    WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", dir);
    EXPECT_EQ(dir, Resolve());
}

TEST_F(ResolveInstallDirTest, TellsWhichSourceGaveTheDirectory) {
    PathBuffer dir = {};
    InstallDirSource source = InstallDirSource::kNone;
    ASSERT_TRUE(ResolveInstallDir(dir, nullptr, &source));
    EXPECT_EQ(InstallDirSource::kDefault, source);
    WriteRegistryString(HKEY_LOCAL_MACHINE, kOemKey, L"dir", L"D:\\Apps\\Corvane");
    ASSERT_TRUE(ResolveInstallDir(dir, nullptr, &source));
    EXPECT_EQ(InstallDirSource::kOemKey, source);
    WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", L"D:\\Own");
    ASSERT_TRUE(ResolveInstallDir(dir, nullptr, &source));
    EXPECT_EQ(InstallDirSource::kOwnKey, source);
}

// The command line's directory goes through the registry values' rule.
TEST(AcceptInstallDirTest, SameRuleAsRegistryValues) {
    const struct {
        const wchar_t* value;
        const wchar_t* accepted;  // null: refused
    } cases[] = {
        {L"C:\\My Apps\\Velora", L"C:\\My Apps\\Velora"},
        {L"C:\\My Apps\\Velora\\\\", L"C:\\My Apps\\Velora"},
        {L"E:\\", L"E:\\"},
        {L"", nullptr},
        {L"Velora", nullptr},
        {L"\\\\server\\share\\Velora", nullptr},
        {L"\\\\?\\C:\\Velora", nullptr},
        {L"C:\\Apps\\..\\Windows", nullptr},
        {L"C:\\Apps\\Velora\\\" /x", nullptr},
    };
    for (const auto& c : cases) {
        PathBuffer out = {L'#', L'\0'};
        EXPECT_EQ(c.accepted != nullptr, AcceptInstallDir(c.value, out)) << c.value;
        EXPECT_STREQ(c.accepted != nullptr ? c.accepted : L"#", out) << c.value;
    }
    PathBuffer out = {};
    EXPECT_FALSE(AcceptInstallDir((L"D:\\" + std::wstring(kPathChars, L'a')).c_str(), out));
    EXPECT_FALSE(AcceptInstallDir(nullptr, out));
}

TEST(OemSiblingDirTest, LongestValueWorksLongerIsRefusedRatherThanTruncated) {
    const std::wstring parent = L"D:\\" + std::wstring(kPathChars - 1 - 3 - 8, L'p');
    const std::wstring oem = parent + L"\\Corvane";
    ASSERT_EQ(kPathChars - 1, oem.size());
    PathBuffer out = {};
    EXPECT_TRUE(OemSiblingDir(oem.c_str(), out));
    EXPECT_EQ(parent + L"\\Velora", std::wstring(out));

    const std::wstring tooLong = L"D:\\" + std::wstring(kPathChars, L'p') + L"\\Corvane";
    PathBuffer untouched = L"unchanged";
    EXPECT_FALSE(OemSiblingDir(tooLong.c_str(), untouched));
    EXPECT_STREQ(L"unchanged", untouched);
}

TEST(DefaultInstallDirTest, AddsProductFolderBelowProgramFiles) {
    PathBuffer out = {};
    EXPECT_TRUE(DefaultInstallDir(L"C:\\Program Files", out));
    EXPECT_STREQ(L"C:\\Program Files\\Corvane Network\\Velora", out);
    EXPECT_TRUE(DefaultInstallDir(L"C:\\", out));
    EXPECT_STREQ(L"C:\\Corvane Network\\Velora", out);
    EXPECT_FALSE(DefaultInstallDir(L"", out));
}

TEST(LowDiskSpaceTest, ThresholdIsOneHundredWholeMiB) {
    constexpr std::uint64_t kMiB = 1024 * 1024;
    EXPECT_TRUE(IsBelowLowSpaceThreshold(0));
    EXPECT_TRUE(IsBelowLowSpaceThreshold(99 * kMiB));
    EXPECT_TRUE(IsBelowLowSpaceThreshold(100 * kMiB - 1));
    EXPECT_FALSE(IsBelowLowSpaceThreshold(100 * kMiB));
    EXPECT_FALSE(IsBelowLowSpaceThreshold(5000ull * 1024 * kMiB));  // above 4 GiB: no overflow
}

TEST(LowDiskSpaceTest, MissingPathOrFailedQueryIsNotLow) {
    EXPECT_FALSE(IsLowDiskSpace(nullptr));
    EXPECT_FALSE(IsLowDiskSpace(L""));
    const DWORD drives = ::GetLogicalDrives();
    for (wchar_t letter = L'Y'; letter > L'D'; --letter) {
        if (!(drives & (1u << (letter - L'A')))) {
            const std::wstring path = std::wstring(1, letter) + L":\\Velora";
            EXPECT_FALSE(IsLowDiskSpace(path.c_str())) << "unmapped drive " << char(letter);
            break;
        }
    }
    EXPECT_FALSE(IsLowDiskSpace(L"\\\\no-such-server\\share\\Velora"));
}

}  // namespace
}  // namespace velora
