#include "app/payload_launcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/path_buffer.h"
#include "tests/support/test_files.h"

namespace velora {
namespace {

using test::FileExists;
using test::FolderExists;
using test::ScopedEnvironmentVariable;
using test::TempFolder;

// The names of everything in `folder`.
std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> entries;
    WIN32_FIND_DATAW found = {};
    ScopedFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) {
        return entries;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            entries.push_back(name);
        }
    } while (::FindNextFileW(find.Get(), &found));
    return entries;
}

// Points TMP and TEMP at a folder of the test's own.
class ScopedTempFolderVariables {
  public:
    explicit ScopedTempFolderVariables(const std::wstring& folder)
        : tmp_(L"TMP", (folder + L"\\").c_str()), temp_(L"TEMP", (folder + L"\\").c_str()) {}

  private:
    ScopedEnvironmentVariable tmp_;
    ScopedEnvironmentVariable temp_;
};

TEST(FormatSetupCommandLineTest, QuotesProgramAndDirectory) {
    wchar_t line[kSetupCommandLineChars] = {};
    ASSERT_TRUE(FormatSetupCommandLine(
        L"C:\\Users\\John Smith\\Temp\\velora_0123456789abcdef\\velora_setup.exe",
        L"D:\\My Apps\\Velora", line, kSetupCommandLineChars));
    EXPECT_STREQ(
        L"\"C:\\Users\\John Smith\\Temp\\velora_0123456789abcdef\\velora_setup.exe\" "
        L"/instpath=\"D:\\My Apps\\Velora\"",
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
    // The program's path is kept in `program_`; the launch (and with it the
    // program's folder) is gone when this returns.
    long LaunchAndWait(const std::wstring& dir, SetupLaunchError* error = nullptr,
                       const FolderNameSource& names = RandomSetupFolderName) {
        SetupLaunch launch = ExtractAndRunSetup(dir.c_str(), installer_, names);
        if (error != nullptr) {
            *error = launch.error;
        }
        program_ = launch.folder.ProgramPath();
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
    std::wstring program_;
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
    ScopedTempFolderVariables tempVariables(temp);

    const std::wstring dir = root / L"target";
    EXPECT_EQ(0, LaunchAndWait(dir));
    EXPECT_TRUE(ProductInstalledIn(dir));
    EXPECT_EQ(0u, program_.find(temp + L"\\" + kSetupFolderPrefix))
        << "the program goes to a folder of its own in the temp folder: " << program_.c_str();
}

TEST_F(ExtractAndRunSetupTest, FolderIsRemovedOnceTheProgramHasEnded) {
    TempFolder temp(L"velora launcher cleanup");
    ScopedTempFolderVariables tempVariables(temp.Path());
    EXPECT_EQ(0, LaunchAndWait(temp / L"target"));
    EXPECT_FALSE(program_.empty());
    EXPECT_FALSE(FileExists(program_));
    EXPECT_EQ(std::vector<std::wstring>{L"target"}, FolderEntries(temp.Path()))
        << "nothing but the install directory is left in the temp folder";
}

TEST_F(ExtractAndRunSetupTest, LeftoverFolderIsSkippedAndKept) {
    TempFolder temp(L"velora leftover");
    ScopedTempFolderVariables tempVariables(temp.Path());
    // A folder under the first name, holding a "program" larger than the payload.
    const std::wstring leftover = temp / L"velora_leftover";
    ASSERT_TRUE(::CreateDirectoryW(leftover.c_str(), nullptr));
    const std::wstring leftoverProgram = leftover + L"\\" + kSetupProgramName;
    test::WriteFileBytes(leftoverProgram, std::string(4 * 1024 * 1024, 'x'));

    std::vector<std::wstring> names = {L"velora_leftover", L"velora_fresh"};
    std::size_t next = 0;
    const FolderNameSource source = [&](wchar_t* out, std::size_t capacity) {
        return next < names.size() && CopyBounded(out, capacity, names[next++].c_str());
    };
    EXPECT_EQ(0, LaunchAndWait(temp / L"target", nullptr, source));
    EXPECT_TRUE(ProductInstalledIn(temp / L"target"));
    EXPECT_EQ(temp / L"velora_fresh\\" + kSetupProgramName, program_);
    EXPECT_EQ(4u * 1024 * 1024, test::ReadFileBytes(leftoverProgram).size())
        << "a folder that was there already is never written to";
    EXPECT_FALSE(FolderExists(temp / L"velora_fresh"));
}

TEST_F(ExtractAndRunSetupTest, UnwritableTempFolderGivesNoProcess) {
    TempFolder root(L"velora unwritable");
    ScopedTempFolderVariables tempVariables(root / L"missing");
    SetupLaunchError error = SetupLaunchError::kNone;
    EXPECT_EQ(-1, LaunchAndWait(root / L"target", &error));
    EXPECT_EQ(SetupLaunchError::kPayloadNotWritten, error);
}

TEST(ExtractAndRunSetupWithoutPayloadTest, ModuleWithoutPayloadWritesNothing) {
    TempFolder temp(L"velora no payload");
    ScopedTempFolderVariables tempVariables(temp.Path());

    // The test program itself carries no payload.
    SetupLaunch launch = ExtractAndRunSetup(L"C:\\Velora", ::GetModuleHandleW(nullptr));
    EXPECT_FALSE(launch.process);
    EXPECT_EQ(SetupLaunchError::kPayloadMissing, launch.error);
    EXPECT_FALSE(launch.folder.IsCreated());
    EXPECT_TRUE(FolderEntries(temp.Path()).empty());
}

// The idle stand-in as the setup program: it writes down the command line it got.
TEST(ExtractAndRunSetupCommandLineTest, ProgramGetsItsQuotedPathAndTheDirectory) {
    HMODULE carrier = ::LoadLibraryExW(test::BuiltProgramPath(L"idle_payload_carrier.exe").c_str(),
                                       nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, carrier);
    TempFolder temp(L"velora command line");
    TempFolder outside(L"velora command line args");
    ScopedTempFolderVariables tempVariables(temp.Path());
    const std::wstring argsFile = outside / L"args.txt";
    ScopedEnvironmentVariable args(L"VELORA_ARGS_FILE", argsFile.c_str());
    ScopedEnvironmentVariable idle(L"VELORA_IDLE_MS", L"0");

    std::wstring program;
    {
        SetupLaunch launch = ExtractAndRunSetup(L"D:\\My Apps\\Velora", carrier);
        ASSERT_TRUE(launch.process);
        program = launch.folder.ProgramPath();
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(launch.process.Get(), 30000));
    }
    ::FreeLibrary(carrier);

    const std::string bytes = test::ReadFileBytes(argsFile);
    const std::wstring line(reinterpret_cast<const wchar_t*>(bytes.data()),
                            bytes.size() / sizeof(wchar_t));
    EXPECT_EQ(L"\"" + program + L"\" /instpath=\"D:\\My Apps\\Velora\"", line);
    EXPECT_EQ(0u, program.find(temp / kSetupFolderPrefix));
    EXPECT_TRUE(FolderEntries(temp.Path()).empty()) << "the folder goes after the program ended";
}

TEST(ExtractAndRunSetupWithoutPayloadTest, EmptyDirectoryStartsNothing) {
    EXPECT_EQ(SetupLaunchError::kNoInstallDir, ExtractAndRunSetup(L"").error);
    EXPECT_EQ(SetupLaunchError::kNoInstallDir, ExtractAndRunSetup(nullptr).error);
}

}  // namespace
}  // namespace velora
