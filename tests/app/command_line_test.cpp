#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace velora {
namespace {

TEST(CommandLineTest, SilentSwitchInAnyCaseAndPosition) {
    EXPECT_TRUE(HasSilentSwitch(L"VeloraSetup.exe /s"));
    EXPECT_TRUE(HasSilentSwitch(L"VeloraSetup.exe /S"));
    EXPECT_TRUE(HasSilentSwitch(L"VeloraSetup.exe /x /S other"));
    EXPECT_TRUE(HasSilentSwitch(L"\"C:\\Down loads\\VeloraSetup.exe\" \"/s\""));
    // The program path takes part in the comparison too.
    EXPECT_TRUE(HasSilentSwitch(L"/s"));
}

TEST(CommandLineTest, SilentSwitchNearMissesDoNotCount) {
    EXPECT_FALSE(HasSilentSwitch(L"VeloraSetup.exe"));
    EXPECT_FALSE(HasSilentSwitch(L"VeloraSetup.exe /silent"));
    EXPECT_FALSE(HasSilentSwitch(L"VeloraSetup.exe -s"));
    EXPECT_FALSE(HasSilentSwitch(L"VeloraSetup.exe s/"));
    EXPECT_FALSE(HasSilentSwitch(L"VeloraSetup.exe /s2"));
    EXPECT_FALSE(HasSilentSwitch(L"\"C:\\dir /s\\VeloraSetup.exe\""));
    EXPECT_FALSE(HasSilentSwitch(L""));
    EXPECT_FALSE(HasSilentSwitch(nullptr));
}

TEST(CommandLineTest, InstallDirIsTheRestOfTheLineAfterTheSwitch) {
    const struct {
        const wchar_t* line;
        const wchar_t* dir;  // null: no /D=
        bool silent;
    } cases[] = {
        {L"Setup.exe /s /D=C:\\My Apps\\Velora", L"C:\\My Apps\\Velora", true},
        {L"Setup.exe /d=D:\\Velora\\  ", L"D:\\Velora\\", false},
        {L"Setup.exe /S \"/D=C:\\Program Files\\Velora\\\\\"", L"C:\\Program Files\\Velora\\\\",
         true},
        // After /D= everything is the directory, a "/s" included.
        {L"Setup.exe /D=C:\\x /s", L"C:\\x /s", false},
        {L"Setup.exe /log=\"C:\\a /D=b.log\" /D=E:\\V", L"E:\\V", false},
        {L"Setup.exe /D=", L"", false},
        {L"\"C:\\dir /D=x\\Setup.exe\" /s", nullptr, true},
        {L"Setup.exe /DIR=C:\\x", nullptr, false},
        {L"Setup.exe x/D=C:\\x", nullptr, false},
        {L" /D=C:\\x", L"C:\\x", false},
    };
    for (const auto& c : cases) {
        const CommandLineOptions options = ParseCommandLine(c.line);
        EXPECT_EQ(c.dir != nullptr, options.hasInstallDir) << c.line;
        EXPECT_EQ(c.dir != nullptr ? c.dir : L"", options.installDir) << c.line;
        EXPECT_EQ(c.silent, options.silent) << c.line;
    }
}

TEST(CommandLineTest, LogSwitches) {
    using Log = CommandLineOptions::Log;
    const struct {
        const wchar_t* line;
        Log log;
        const wchar_t* file;
    } cases[] = {
        {L"Setup.exe /s", Log::kNone, L""},
        {L"Setup.exe /LOG /s", Log::kUserTemp, L""},
        {L"Setup.exe /log=\"C:\\my logs\\v.log\" /D=C:\\x", Log::kFile, L"C:\\my logs\\v.log"},
        {L"Setup.exe /D=C:\\x /log", Log::kNone, L""},
        {L"Setup.exe /logfile", Log::kNone, L""},
    };
    for (const auto& c : cases) {
        const CommandLineOptions options = ParseCommandLine(c.line);
        EXPECT_EQ(c.log, options.log) << c.line;
        EXPECT_EQ(c.file, options.logFile) << c.line;
    }
}

}  // namespace
}  // namespace velora
