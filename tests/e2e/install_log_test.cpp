// The install log of silent installs: what it records for an install that
// works and one that fails, and that a log that cannot be written changes
// nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "tests/support/test_files.h"
#include "tests/support/test_registry.h"

namespace velora {
namespace {

using test::FileExists;
using test::ScopedEnvironmentVariable;

// The log's text from its byte-order mark on, as UTF-8.
std::string ReadLog(const std::wstring& path) {
    const std::string bytes = test::ReadFileBytes(path);
    EXPECT_EQ(0u, bytes.rfind("\xEF\xBB\xBF", 0)) << "no byte-order mark";
    return bytes;
}

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 4, '\0');
    out.resize(static_cast<std::size_t>(
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0],
                              static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

// Each of `parts` appears in `log`, in this order, each on a line of its own.
void ExpectInOrder(const std::string& log, const std::vector<std::string>& parts) {
    std::size_t at = 0;
    for (const std::string& part : parts) {
        const std::size_t found = log.find(part, at);
        ASSERT_NE(std::string::npos, found)
            << "missing after offset " << at << ": " << part << "\nlog:\n"
            << log;
        at = found + part.size();
    }
}

class InstallLogE2eTest : public ::testing::Test {
  protected:
    long RunSilent(const std::wstring& arguments) {
        return test::RunAndWait(
            L"\"" + test::BuiltProgramPath(L"VeloraSetup.exe") + L"\" /s " + arguments, 120000);
    }

    test::RegistryKeyRemoval ownKey_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Corvane Network\\Velora"};
    ScopedEnvironmentVariable pace_{L"VELORA_DEMO_PACE_MS", L"0"};
    test::TempFolder work_{L"velora e2e log"};
};

TEST_F(InstallLogE2eTest, SilentInstallIsRecordedStepByStep) {
    // Slow enough for several reports to be read one by one.
    ScopedEnvironmentVariable pace(L"VELORA_DEMO_PACE_MS", L"1000");
    const std::wstring dir = work_ / L"安装 目录";
    const std::wstring log = work_ / L"logs here.log";
    ASSERT_EQ(kExitOk, RunSilent(L"\"/log=" + log + L"\" /D=" + dir));
    ExpectInOrder(ReadLog(log),
                  {"Z Velora installer 1.", "Z command line: ", "/D=" + Utf8(dir) + "\r\n",
                   "Z Windows ", "Z elevated: ", "Z mode: silent\r\n",
                   "Z install directory: " + Utf8(dir) + " (from the command line (/D=))\r\n",
                   "Z setup folder: ", "Z setup command line: \"",
                   " /instpath=\"" + Utf8(dir) + "\"\r\n", "Z progress 100 %\r\n",
                   "Z setup program exited with code 0\r\n", "Z installer exit code 0\r\n"});
    // The demo reports every 5 % (reports that come faster than they are read
    // collapse into the latest): at most one line per tenth is kept.
    const std::string text = ReadLog(log);
    std::vector<int> tenths;
    for (std::size_t at = 0; (at = text.find("Z progress ", at)) != std::string::npos; ++at) {
        tenths.push_back(std::atoi(text.c_str() + at + 11) / 10);
    }
    for (std::size_t i = 1; i < tenths.size(); ++i) {
        EXPECT_LT(tenths[i - 1], tenths[i]) << text;
    }
}

TEST_F(InstallLogE2eTest, FailedInstallRecordsTheLastReportAndTheCode) {
    ScopedEnvironmentVariable fault(L"VELORA_DEMO_FAULT", L"exit-code:7");
    const std::wstring log = work_ / L"failed.log";
    ASSERT_EQ(7, RunSilent(L"\"/log=" + log + L"\" /D=" + (work_ / L"Target")));
    ExpectInOrder(ReadLog(log), {"Z progress 50 %\r\n", "Z setup program exited with code 7\r\n",
                                 "Z installer exit code 7\r\n"});
}

TEST_F(InstallLogE2eTest, DefaultLogGoesToTheTemporaryFolder) {
    const std::wstring temp = work_ / L"user temp";
    ASSERT_TRUE(::CreateDirectoryW(temp.c_str(), nullptr));
    ScopedEnvironmentVariable tmp(L"TMP", temp.c_str());
    ScopedEnvironmentVariable tempVariable(L"TEMP", temp.c_str());
    ASSERT_EQ(kExitInvalidInstallDir, RunSilent(L"/log /D=relative"));
    ExpectInOrder(ReadLog(temp + L"\\Velora_install.log"),
                  {"Z error: /D=relative is not an acceptable install directory\r\n",
                   "Z installer exit code 1008\r\n"});
}

// A log that cannot be written is no reason to stop.
TEST_F(InstallLogE2eTest, UnwritableLogChangesNothing) {
    test::WriteFileBytes(work_ / L"taken.log", "");
    HANDLE held = ::CreateFileW((work_ / L"taken.log").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);  // no sharing at all
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    for (const std::wstring& log :
         {work_ / L"no such folder\\x.log", work_.Path(), work_ / L"taken.log"}) {
        const std::wstring dir = work_ / L"Target";
        test::RemoveTree(dir);
        EXPECT_EQ(kExitOk, RunSilent(L"\"/log=" + log + L"\" /D=" + dir)) << log.c_str();
        EXPECT_TRUE(FileExists(dir + L"\\Program\\Dovanix.exe")) << log.c_str();
    }
    ::CloseHandle(held);
}

}  // namespace
}  // namespace velora
