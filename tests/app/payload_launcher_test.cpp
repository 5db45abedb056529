#include "app/payload_launcher.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cwctype>
#include <string>
#include <vector>

#include "base/path_buffer.h"
#include "tests/support/test_files.h"

namespace velora {
namespace {

using test::FileExists;
using test::FolderEntries;
using test::FolderExists;
using test::ScopedEnvironmentVariable;
using test::TempFolder;

// Where a process that is not elevated puts the setup folder: below TMP.
std::wstring UserTempParent() {
    PathBuffer parent = {};
    return SetupTempParent(parent, kPathChars, Elevation::kNotElevated) ? parent : L"";
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
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

TEST(FormatSetupCommandLineTest, NoSeparatorEscapesTheClosingQuote) {
    const struct {
        const wchar_t* dir;
        const wchar_t* argument;
    } cases[] = {
        {L"D:\\Velora\\", L"/instpath=\"D:\\Velora\""},
        {L"D:\\Velora\\\\/", L"/instpath=\"D:\\Velora\""},
        {L"D:\\", L"/instpath=\"D:\\\\\""},  // reads back as D:\ (two backslashes, then the quote)
    };
    for (const auto& c : cases) {
        wchar_t line[kSetupCommandLineChars] = {};
        ASSERT_TRUE(FormatSetupCommandLine(L"C:\\s.exe", c.dir, line, kSetupCommandLineChars));
        EXPECT_EQ(std::wstring(L"\"C:\\s.exe\" ") + c.argument, line) << c.dir;
        int argc = 0;
        ScopedLocalMemory<LPWSTR*> argv(::CommandLineToArgvW(line, &argc));
        ASSERT_EQ(2, argc) << c.dir;
    }
}

TEST(SetupTempParentTest, ElevatedUsesTheSystemTempFolderWhateverTmpSays) {
    TempFolder elsewhere(L"velora tmp elsewhere");
    ScopedTempFolderVariables tempVariables(elsewhere.Path());
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(0u, ::GetWindowsDirectoryW(windows, MAX_PATH));
    PathBuffer parent = {};
    ASSERT_TRUE(SetupTempParent(parent, kPathChars, Elevation::kElevated));
    EXPECT_EQ(std::wstring(windows) + L"\\Temp\\", parent);
    ASSERT_TRUE(SetupTempParent(parent, kPathChars, Elevation::kNotElevated));
    EXPECT_EQ(elsewhere.Path() + L"\\", parent);
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
        SetupLaunch launch =
            ExtractAndRunSetup(dir.c_str(), installer_, names, UserTempParent().c_str());
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
    EXPECT_EQ(0u, Lower(program_).find(Lower(temp + L"\\" + kSetupFolderPrefix)))
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
        SetupLaunch launch = ExtractAndRunSetup(L"D:\\My Apps\\Velora\\", carrier,
                                                RandomSetupFolderName, UserTempParent().c_str());
        ASSERT_TRUE(launch.process);
        program = launch.folder.ProgramPath();
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(launch.process.Get(), 30000));
    }
    ::FreeLibrary(carrier);

    const std::string bytes = test::ReadFileBytes(argsFile);
    const std::wstring line(reinterpret_cast<const wchar_t*>(bytes.data()),
                            bytes.size() / sizeof(wchar_t));
    // Started by the path of the open file (the file system's spelling), in
    // its own folder; the trailing separator would have escaped the quote.
    EXPECT_EQ(Lower(L"\"" + program + L"\" /instpath=\"D:\\My Apps\\Velora\""), Lower(line));
    EXPECT_EQ(0u, Lower(program).find(Lower(temp / kSetupFolderPrefix)));
    EXPECT_TRUE(FolderEntries(temp.Path()).empty()) << "the folder goes after the program ended";
}

TEST(ExtractAndRunSetupWithoutPayloadTest, EmptyDirectoryStartsNothing) {
    EXPECT_EQ(SetupLaunchError::kNoInstallDir, ExtractAndRunSetup(L"").error);
    EXPECT_EQ(SetupLaunchError::kNoInstallDir, ExtractAndRunSetup(nullptr).error);
}

}  // namespace
}  // namespace velora
