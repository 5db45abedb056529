// Runs the built installer with "/s" while the demo setup program misbehaves
// (VELORA_DEMO_FAULT, inherited through the installer), and checks the exit
// code the script sees and that none of the post-install actions happened.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/exit_codes.h"
#include "app/post_install.h"
#include "tests/support/test_files.h"
#include "tests/support/test_registry.h"

namespace velora {
namespace {

using test::FileExists;
using test::ScopedEnvironmentVariable;
using test::TempFolder;

const std::wstring kOwnKey = L"SOFTWARE\\Corvane Network\\Velora";
constexpr long kTimedOut = -1;

bool RunValuePresent() {
    return ::RegGetValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, RRF_RT_ANY, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS;
}

struct SilentFault {
    const char* name;
    const wchar_t* fault;  // VELORA_DEMO_FAULT
    long exitCode;         // what the installer returns
    bool productLaidDown;  // Program\Dovanix.exe exists afterwards
};

void PrintTo(const SilentFault& c, std::ostream* os) {
    *os << c.name;
}

class SilentSetupFault : public ::testing::TestWithParam<SilentFault> {
  protected:
    void SetUp() override {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName);
        test::WriteRegistryString(HKEY_LOCAL_MACHINE, kOwnKey, L"dir", dir_);
    }
    void TearDown() override {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName);
    }

    long RunSilent(const wchar_t* installer = L"VeloraSetup.exe") {
        return test::RunAndWait(L"\"" + test::BuiltProgramPath(installer) + L"\" /s", 120000);
    }
    void ExpectNoPostInstallActions() {
        EXPECT_FALSE(FileExists(dir_ + L"\\Profiles\\channel.dat"));
        EXPECT_FALSE(RunValuePresent());
    }

    test::RegistryKeyRemoval ownKey_{HKEY_LOCAL_MACHINE, kOwnKey};
    ScopedEnvironmentVariable pace_{L"VELORA_DEMO_PACE_MS", L"0"};
    TempFolder work_{L"velora fault e2e"};
    const std::wstring dir_ = work_ / L"Velora";
};

TEST_P(SilentSetupFault, ExitCodeAndNoPostInstallActions) {
    const SilentFault& c = GetParam();
    ScopedEnvironmentVariable fault(L"VELORA_DEMO_FAULT", c.fault);
    const long exitCode = RunSilent();
    ASSERT_NE(exitCode, kTimedOut) << "the installer did not end";
    EXPECT_EQ(static_cast<DWORD>(exitCode), static_cast<DWORD>(c.exitCode));
    EXPECT_EQ(FileExists(dir_ + L"\\Program\\Dovanix.exe"), c.productLaidDown);
    ExpectNoPostInstallActions();
}

// Every exit of the setup program reaches the script as its own code; a setup
// program that ends with 0 counts as installed whatever it reported.
INSTANTIATE_TEST_SUITE_P(
    Faults, SilentSetupFault,
    ::testing::Values(SilentFault{"ExitsAtOnce", L"exit-at-once", kExitOk, false},
                      SilentFault{"ExitsNonZeroHalfWay", L"exit-code:7", 7, true},
                      SilentFault{"CrashesMidWay", L"crash-at:60",
                                  static_cast<long>(EXCEPTION_ACCESS_VIOLATION), true},
                      SilentFault{"CrashesBeforeAnything", L"crash-at:0",
                                  static_cast<long>(EXCEPTION_ACCESS_VIOLATION), false},
                      SilentFault{"NeverReports", L"silent", kExitOk, true},
                      SilentFault{"ReportsOutOfRange", L"report:-5,150", kExitOk, true},
                      SilentFault{"ReportsHundredTwice", L"report-100-twice", kExitOk, true},
                      SilentFault{"NoFault", L"", kExitOk, true}),
    [](const ::testing::TestParamInfo<SilentFault>& info) { return info.param.name; });

TEST_F(SilentSetupFault, MissingPayloadGivesPayloadUnavailable) {
    EXPECT_EQ(RunSilent(L"installer_without_payload.exe"), kExitPayloadUnavailable);
    EXPECT_FALSE(test::FolderExists(dir_));
    ExpectNoPostInstallActions();
}

}  // namespace
}  // namespace velora
