#include "app/payload_launcher.h"

#include <gtest/gtest.h>

#include <string>

#include "base/path_buffer.h"
#include "tests/support/test_files.h"

namespace velora {
namespace {

using test::FileExists;
using test::FolderExists;
using test::ScopedEnvironmentVariable;
using test::TempFolder;

TEST(FormatSetupCommandLineTest, QuotesProgramAndDirectory) {
    wchar_t line[kSetupCommandLineChars] = {};
    ASSERT_TRUE(FormatSetupCommandLine(L"C:\\Users\\John Smith\\Temp\\vel10.tmp",
                                       L"D:\\My Apps\\Velora", line, kSetupCommandLineChars));
    EXPECT_STREQ(L"\"C:\\Users\\John Smith\\Temp\\vel10.tmp\" /instpath=\"D:\\My Apps\\Velora\"",
                 line);
}

TEST(FormatSetupCommandLineTest, RefusesWhatDoesNotFit) {
    wchar_t line[24] = L"previous";
    EXPECT_FALSE(FormatSetupCommandLine(L"C:\\t.exe", L"D:\\Velora", line, 24));
    EXPECT_STREQ(L"", line);
}

// The installer executable carries the real payload; load it as data so the
// launcher can be tested against it without running the installer.
class ExtractAndRunSetupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        installer_ = ::LoadLibraryExW(test::BuiltProgramPath(L"VeloraSetup.exe").c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, installer_);
    }
    void TearDown() override { ::FreeLibrary(installer_); }

    // Runs the launcher and waits for the setup program; its exit code or -1.
    long LaunchAndWait(const std::wstring& dir, SetupLaunchError* error = nullptr) {
        SetupLaunch launch = ExtractAndRunSetup(dir.c_str(), installer_);
        if (error != nullptr) {
            *error = launch.error;
        }
        if (!launch.process) {
            return -1;
        }
        if (::WaitForSingleObject(launch.process.Get(), 60000) != WAIT_OBJECT_0) {
            ::TerminateProcess(launch.process.Get(), 1);
            return -1;
        }
        DWORD code = 0;
        ::GetExitCodeProcess(launch.process.Get(), &code);
        return static_cast<long>(code);
    }

    static bool ProductInstalledIn(const std::wstring& dir) {
        return FileExists(dir + L"\\Program\\Dovanix.exe") && FolderExists(dir + L"\\Profiles");
    }

    HMODULE installer_ = nullptr;
    ScopedEnvironmentVariable pace_{L"VELORA_DEMO_PACE_MS", L"0"};
};

TEST_F(ExtractAndRunSetupTest, InstallsIntoDirectoryWithSpaces) {
    TempFolder root(L"velora launcher test");
    const std::wstring dir = root / L"Install Dir With Spaces\\Velora";
    EXPECT_EQ(0, LaunchAndWait(dir));
    EXPECT_TRUE(ProductInstalledIn(dir));
}

TEST_F(ExtractAndRunSetupTest, TempFolderWithSpacesStartsTheRealProgram) {
    TempFolder root(L"velora temp root");
    const std::wstring temp = root / L"temp with spaces";
    ASSERT_TRUE(::CreateDirectoryW(temp.c_str(), nullptr));
    // What an unquoted path would make Windows try first: "<root>\temp.exe".
    test::WriteFileBytes(root / L"temp.exe", "not a program");
    ScopedEnvironmentVariable tmp(L"TMP", (temp + L"\\").c_str());
    ScopedEnvironmentVariable tempVar(L"TEMP", (temp + L"\\").c_str());

    PathBuffer written = {};
    ASSERT_TRUE(SetupTempFilePath(written, kPathChars));
    EXPECT_EQ(0u, std::wstring(written).find(temp)) << "payload must go to the temp folder";

    const std::wstring dir = root / L"target";
    EXPECT_EQ(0, LaunchAndWait(dir));
    EXPECT_TRUE(ProductInstalledIn(dir));
}

TEST_F(ExtractAndRunSetupTest, LeftoverFileIsReplaced) {
    TempFolder temp(L"velora leftover");
    ScopedEnvironmentVariable tmp(L"TMP", (temp.Path() + L"\\").c_str());
    ScopedEnvironmentVariable tempVar(L"TEMP", (temp.Path() + L"\\").c_str());
    PathBuffer exe = {};
    ASSERT_TRUE(SetupTempFilePath(exe, kPathChars));
    test::WriteFileBytes(exe, std::string(4 * 1024 * 1024, 'x'));  // larger than the payload

    EXPECT_EQ(0, LaunchAndWait(temp / L"target"));
    const std::string bytes = test::ReadFileBytes(exe);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ("MZ", bytes.substr(0, 2));
    EXPECT_LT(bytes.size(), 4u * 1024 * 1024) << "old content must not survive past the payload";
}

TEST_F(ExtractAndRunSetupTest, UnwritableTempFolderGivesNoProcess) {
    TempFolder root(L"velora unwritable");
    ScopedEnvironmentVariable tmp(L"TMP", (root / L"missing\\").c_str());
    ScopedEnvironmentVariable tempVar(L"TEMP", (root / L"missing\\").c_str());
    SetupLaunchError error = SetupLaunchError::kNone;
    EXPECT_EQ(-1, LaunchAndWait(root / L"target", &error));
    EXPECT_EQ(SetupLaunchError::kPayloadNotWritten, error);
}

TEST(ExtractAndRunSetupWithoutPayloadTest, ModuleWithoutPayloadWritesNothing) {
    TempFolder temp(L"velora no payload");
    ScopedEnvironmentVariable tmp(L"TMP", (temp.Path() + L"\\").c_str());
    ScopedEnvironmentVariable tempVar(L"TEMP", (temp.Path() + L"\\").c_str());
    PathBuffer exe = {};
    ASSERT_TRUE(SetupTempFilePath(exe, kPathChars));

    // The test program itself carries no payload.
    SetupLaunch launch = ExtractAndRunSetup(L"C:\\Velora", ::GetModuleHandleW(nullptr));
    EXPECT_FALSE(launch.process);
    EXPECT_EQ(SetupLaunchError::kPayloadMissing, launch.error);
    EXPECT_FALSE(FileExists(exe));
}

TEST(ExtractAndRunSetupWithoutPayloadTest, EmptyDirectoryStartsNothing) {
    EXPECT_EQ(SetupLaunchError::kNoInstallDir, ExtractAndRunSetup(L"").error);
    EXPECT_EQ(SetupLaunchError::kNoInstallDir, ExtractAndRunSetup(nullptr).error);
}

}  // namespace
}  // namespace velora
