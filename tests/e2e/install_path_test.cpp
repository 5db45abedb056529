// Silent installs into directories whose names are not plain ASCII words, an
// install directory too long for the paths below it, and the directory given
// on the command line (/D=).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/exit_codes.h"
#include "base/path_buffer.h"
#include "tests/support/test_files.h"
#include "tests/support/test_registry.h"

namespace velora {
namespace {

using test::FileExists;
using test::FolderExists;

const std::wstring kOwnKey = L"SOFTWARE\\Corvane Network\\Velora";

class InstallPathTest : public ::testing::Test {
  protected:
    long RunSilent(const std::wstring& arguments = L"/s") {
        return test::RunAndWait(
            L"\"" + test::BuiltProgramPath(L"VeloraSetup.exe") + L"\" " + arguments, 120000);
    }

    test::RegistryKeyRemoval ownKey_{HKEY_LOCAL_MACHINE, kOwnKey};
    test::ScopedEnvironmentVariable pace_{L"VELORA_DEMO_PACE_MS", L"0"};
    test::TempFolder work_{L"velora e2e paths"};
};

TEST_F(InstallPathTest, SpacesAndCharactersOutsideAsciiReachTheSetupProgramIntact) {
    const std::wstring dir = work_ / L"Mes Programmes\\安装 目录 Ünïcode\\Velora";
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", dir);
    EXPECT_EQ(kExitOk, RunSilent());
    EXPECT_TRUE(FileExists(dir + L"\\Program\\Dovanix.exe"));
    EXPECT_TRUE(FolderExists(dir + L"\\Profiles"));
}

TEST_F(InstallPathTest, OverLongRegistryDirectoryIsNotTruncated) {
    // Longer than a path buffer: refused as a whole, so the default directory
    // is used and no folder named after a cut-off prefix appears.
    const std::wstring dir = work_ / (std::wstring(kPathChars, L'n') + L"\\Velora");
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", dir);
    const std::wstring programFilesDefault = [] {
        wchar_t folder[MAX_PATH] = {};
        ::GetEnvironmentVariableW(L"ProgramFiles", folder, MAX_PATH);
        return std::wstring(folder) + L"\\Corvane Network\\Velora";
    }();
    test::RemoveTree(programFilesDefault);
    EXPECT_EQ(kExitOk, RunSilent());
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW((work_ / L"n*").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "a truncated folder was made";
    if (search != INVALID_HANDLE_VALUE) {
        ::FindClose(search);
    }
    EXPECT_TRUE(FileExists(programFilesDefault + L"\\Program\\Dovanix.exe"));
    test::RemoveTree(programFilesDefault);
}

// /D= comes before the registry and is taken as the rest of the line.
TEST_F(InstallPathTest, CommandLineDirectoryIsUsedAheadOfTheRegistry) {
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", work_ / L"From Registry");
    const struct {
        std::wstring arguments;
        std::wstring dir;
    } cases[] = {
        {L"/s /D=" + (work_ / L"With Spaces\\Velora"), work_ / L"With Spaces\\Velora"},
        {L"/s /D=" + (work_ / L"Trailing\\Velora\\\\"), work_ / L"Trailing\\Velora"},
        // As a shell that quotes arguments with spaces passes it.
        {L"/s \"/D=" + (work_ / L"Quoted Dir\\Velora") + L"\"", work_ / L"Quoted Dir\\Velora"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kExitOk, RunSilent(c.arguments)) << c.arguments.c_str();
        EXPECT_TRUE(FileExists(c.dir + L"\\Program\\Dovanix.exe")) << c.arguments.c_str();
    }
    EXPECT_FALSE(FolderExists(work_ / L"From Registry"));
}

// A refused /D= ends the silent install with its own code; nothing is put
// anywhere else instead.
TEST_F(InstallPathTest, UnacceptableCommandLineDirectoryIsRefused) {
    test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", work_ / L"From Registry");
    for (const std::wstring& dir :
         {std::wstring(L"Velora"), std::wstring(L"..\\Velora"),
          std::wstring(L"\\\\server\\share\\Velora"), work_ / L"a\\..\\Velora", std::wstring(),
          work_ / (std::wstring(kPathChars, L'n'))}) {
        EXPECT_EQ(kExitInvalidInstallDir, RunSilent(L"/s /D=" + dir)) << dir.c_str();
    }
    EXPECT_FALSE(FolderExists(work_ / L"From Registry"));
    EXPECT_FALSE(FolderExists(work_ / L"Velora"));
}

}  // namespace
}  // namespace velora
