// Runs the built installer with "/s" under Wine and checks what it leaves
// behind and what it returns.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "app/driver.h"
#include "app/exit_codes.h"
#include "app/process_security.h"
#include "app/progress_channel.h"
#include "tests/support/test_files.h"
#include "tests/support/test_registry.h"

namespace velora {
namespace {

using test::FileExists;
using test::FolderExists;
using test::RunAndWait;
using test::ScopedEnvironmentVariable;
using test::TempFolder;

const std::wstring kOwnKey = L"SOFTWARE\\Corvane Network\\Velora";
const std::wstring kOemKey = L"SOFTWARE\\Corvane Network\\CorvaneOem\\corvane_backwnd";

std::wstring Quoted(const std::wstring& s) {
    return L"\"" + s + L"\"";
}

bool ProductInstalledIn(const std::wstring& dir) {
    return FileExists(dir + L"\\Program\\Dovanix.exe") && FolderExists(dir + L"\\Profiles");
}

BOOL CALLBACK TakeLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    *reinterpret_cast<WORD*>(param) = language;
    return FALSE;
}

// Replaces the payload resource of an installer copy.
bool RewritePayload(const std::wstring& exe, const std::string& bytes) {
    WORD language = 0xFFFF;
    HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        return false;
    }
    ::EnumResourceLanguagesW(module, L"EXE", MAKEINTRESOURCEW(9527), TakeLanguage,
                             reinterpret_cast<LONG_PTR>(&language));
    ::FreeLibrary(module);
    if (language == 0xFFFF) {
        ADD_FAILURE() << "payload resource not found in the copy";
        return false;
    }

    HANDLE update = ::BeginUpdateResourceW(exe.c_str(), FALSE);
    if (update == nullptr) {
        return false;
    }
    const bool ok =
        ::UpdateResourceW(update, L"EXE", MAKEINTRESOURCEW(9527), language,
                          const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    return ::EndUpdateResourceW(update, !ok) && ok;
}

class SilentInstallTest : public ::testing::Test {
  protected:
    long RunInstaller(const std::wstring& arguments, const std::wstring& exe = Installer()) {
        return RunAndWait(Quoted(exe) + L" " + arguments, 120000);
    }
    static std::wstring Installer() { return test::BuiltProgramPath(L"VeloraSetup.exe"); }

    test::RegistryKeyRemoval ownKey_{HKEY_LOCAL_MACHINE, kOwnKey};
    test::RegistryKeyRemoval oemKey_{HKEY_LOCAL_MACHINE, kOemKey};
    ScopedEnvironmentVariable pace_{L"VELORA_DEMO_PACE_MS", L"0"};
    TempFolder work_{L"velora e2e"};
};

TEST_F(SilentInstallTest, InstallsIntoDirectoryFromOwnKey) {
    const std::wstring dir = work_ / L"Own Key Dir\\Velora";
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", dir);
    EXPECT_EQ(kExitOk, RunInstaller(L"/s"));
    EXPECT_TRUE(ProductInstalledIn(dir));
}

TEST_F(SilentInstallTest, SwitchInAnyCaseAndPosition) {
    const std::wstring dir = work_ / L"Upper";
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", dir);
    EXPECT_EQ(kExitOk, RunInstaller(L"--lang zh /S extra"));
    EXPECT_TRUE(ProductInstalledIn(dir));
}

TEST_F(SilentInstallTest, InstallsIntoOemSiblingFolder) {
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOemKey, L"dir", work_ / L"Maker\\Corvane");
    EXPECT_EQ(kExitOk, RunInstaller(L"/s"));
    EXPECT_TRUE(ProductInstalledIn(work_ / L"Maker\\Velora"));
}

TEST_F(SilentInstallTest, InstallsIntoProgramFilesByDefaultAndWaitsForSetup) {
    wchar_t programFiles[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, programFiles, CSIDL_PROGRAM_FILES, FALSE));
    const std::wstring dir = std::wstring(programFiles) + L"\\Corvane Network\\Velora";
    test::RemoveTree(dir);

    EXPECT_EQ(kExitOk, RunInstaller(L"/s"));
    EXPECT_TRUE(ProductInstalledIn(dir));
    // The setup program records the directory as its very last step, so this
    // shows the installer returned only after it had finished.
    EXPECT_TRUE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, kOwnKey));
    test::RemoveTree(dir);
}

TEST_F(SilentInstallTest, SecondInstanceEndsAtOnce) {
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    ASSERT_NE(nullptr, mutex);
    const std::wstring dir = work_ / L"Never";
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", dir);

    EXPECT_EQ(kExitAlreadyRunning, RunInstaller(L"/s"));
    EXPECT_EQ(kExitOk, RunInstaller(L"")) << "an interactive duplicate leaves quietly";
    ::CloseHandle(mutex);
    EXPECT_FALSE(FolderExists(dir));
}

TEST_F(SilentInstallTest, SetupFailurePassesItsExitCodeThrough) {
    // A file where a folder of the install directory should be: the demo
    // setup program cannot lay the product down and exits with 2.
    test::WriteFileBytes(work_ / L"blocker", "file");
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", work_ / L"blocker\\Velora");
    EXPECT_EQ(2, RunInstaller(L"/s"));
}

TEST_F(SilentInstallTest, MissingPayloadIsReported) {
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", work_ / L"Target");
    EXPECT_EQ(kExitPayloadUnavailable,
              RunInstaller(L"/s", test::BuiltProgramPath(L"installer_without_payload.exe")));
    EXPECT_FALSE(FolderExists(work_ / L"Target"));
}

// The user's TMP is the user's: an elevated installer writes nothing there.
TEST_F(SilentInstallTest, ElevatedInstallerLeavesTheUsersTempFolderAlone) {
    if (!IsProcessElevated()) {
        GTEST_SKIP() << "the installer would run elevated; this test does not";
    }
    const std::wstring decoy = work_ / L"user temp";
    ASSERT_TRUE(::CreateDirectoryW(decoy.c_str(), nullptr));
    ScopedEnvironmentVariable tmp(L"TMP", (decoy + L"\\").c_str());
    ScopedEnvironmentVariable temp(L"TEMP", (decoy + L"\\").c_str());
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", work_ / L"Target");
    EXPECT_EQ(kExitOk, RunInstaller(L"/s"));
    EXPECT_TRUE(ProductInstalledIn(work_ / L"Target"));
    EXPECT_TRUE(test::FolderIsEmpty(decoy));
}

// Somebody made the progress objects first and reported 100: nothing runs.
TEST_F(SilentInstallTest, ProgressObjectsMadeByAnotherProgramAreRefused) {
    ProgressChannel squatter(kProgressMappingName, kProgressEventName, ChannelAccess::kDefault);
    ASSERT_FALSE(squatter.IsTaken());
    ASSERT_NE(nullptr, squatter.Event());
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", work_ / L"Target");
    EXPECT_EQ(kExitProgressChannelTaken, RunInstaller(L"/s"));
    EXPECT_FALSE(FolderExists(work_ / L"Target"));
}

TEST_F(SilentInstallTest, PayloadThatCannotStartIsReported) {
    const std::wstring copy = work_ / L"BadPayload.exe";
    ASSERT_TRUE(::CopyFileW(Installer().c_str(), copy.c_str(), FALSE));
    const std::string garbage(4096, '\x5a');
    ASSERT_TRUE(RewritePayload(copy, garbage));
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", work_ / L"Target");
    EXPECT_EQ(kExitSetupNotStarted, RunInstaller(L"/s", copy));
}

}  // namespace
}  // namespace velora
