// The main window while its setup program misbehaves: the demo setup program
// is started directly (or extracted for real) with VELORA_DEMO_FAULT set, the
// window runs modally, and each case records what the user sees when the
// install has ended, whether close then ends the installer at once, and
// which post-install actions ran.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "app/exit_codes.h"
#include "app/main_dlg.h"
#include "app/payload_launcher.h"
#include "app/post_install.h"
#include "base/win_handles.h"
#include "controls/progress_controls.h"
#include "tests/support/modal_driver.h"
#include "tests/support/test_files.h"
#include "tests/support/test_registry.h"
#include "ui/bk_window.h"

namespace velora {
namespace {

using namespace main_ids;
using test::BuiltProgramPath;
using test::RunFromMessageLoop;
using test::ScopedEnvironmentVariable;

constexpr DWORD kInstallDeadlineMs = 30000;
constexpr UINT kPollMs = 50;
constexpr UINT kSettleMs = 200;
constexpr UINT kCloseGraceMs = 2000;

bool RunValuePresent() {
    return ::RegGetValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, RRF_RT_ANY, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS;
}

// Counts the 100 % reports that reach the window, by sitting in front of its
// window procedure.
std::atomic<int> g_hundreds{0};
WNDPROC g_windowProc = nullptr;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INSTALL_PROGRESS && wParam == 100) {
        ++g_hundreds;
    }
    return ::CallWindowProcW(g_windowProc, window, message, wParam, lParam);
}

void CountHundreds(HWND window) {
    g_hundreds = 0;
    g_windowProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
}

enum class Start {
    kDemoSetup,        // payload_setup.exe started directly
    kExtracted,        // the installer's own payload, written to the temp folder and started
    kTempNotWritable,  // as kExtracted, with TMP and TEMP naming a missing folder
    kPayloadMissing,   // extracted from a module without the payload resource
};

// What the window shows once the install has ended, and what it left behind.
struct Seen {
    bool finished = false;
    std::wstring progressText;
    std::uint32_t bar = 0;
    bool progressPage = false;
    bool startPage = false;
    bool launch = false;
    bool closedAtOnce = false;
    bool channelFile = false;
    bool runValue = false;
    int hundreds = 0;
    int failures = 0;
    bool notice = false;  // a failure notice was up and its "关闭" ended the window
    int exitCode = -1;
};

struct FaultCase {
    const char* name;
    const wchar_t* fault;  // VELORA_DEMO_FAULT
    Start start;
    // Expected:
    const wchar_t* progressText;
    std::uint32_t bar;
    bool completed;  // "立即体验" on the start page and the post-install actions ran
    int hundreds;
    int failures;  // resource-error reports
    int exitCode;  // what the window ends with
    bool notice;   // a failure notice says what failed
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class SetupFaultWindow : public ::testing::TestWithParam<FaultCase> {
  protected:
    void SetUp() override {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName);
        // A product already in place, so a log-on entry would be written if
        // the actions ran: its absence then means they did not.
        ::CreateDirectoryW(dir_.c_str(), nullptr);
        ::CreateDirectoryW((dir_ + L"\\Program").c_str(), nullptr);
        test::WriteFileBytes(dir_ + L"\\Program\\Dovanix.exe", "MZ");

        dialog_ = std::make_unique<CMainDlg>();
        dialog_->SetLowSpaceTest([](const wchar_t*) { return false; });
        dialog_->SetFailureReport([this] { ++failures_; });
    }
    void TearDown() override {
        dialog_.reset();
        if (HANDLE process = launched_.exchange(nullptr)) {
            ::WaitForSingleObject(process, 10000);
            ::CloseHandle(process);
        }
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName);
    }

    void UseStart(Start start) {
        dialog_->SetSetupLauncher([this, start](const wchar_t* dir) {
            SetupLaunch launch = Launch(start, dir);
            if (launch.process) {
                HANDLE copy = nullptr;
                ::DuplicateHandle(::GetCurrentProcess(), launch.process.Get(),
                                  ::GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0);
                launched_ = copy;
            }
            return launch;
        });
    }

    static SetupLaunch Launch(Start start, const wchar_t* dir) {
        switch (start) {
            case Start::kDemoSetup:
                return StartDemoSetup(dir);
            case Start::kExtracted:
            case Start::kTempNotWritable: {
                // The installer's payload, read from the built installer.
                HMODULE installer = ::LoadLibraryExW(BuiltProgramPath(L"VeloraSetup.exe").c_str(),
                                                     nullptr, LOAD_LIBRARY_AS_DATAFILE);
                // Not writable: the user's temp folder (TMP), used as a
                // process that is not elevated would.
                PathBuffer userTemp = {};
                const bool toUserTemp =
                    start == Start::kTempNotWritable &&
                    SetupTempParent(userTemp, kPathChars, Elevation::kNotElevated);
                SetupLaunch launch = ExtractAndRunSetup(dir, installer, RandomSetupFolderName,
                                                        toUserTemp ? userTemp : nullptr);
                if (installer != nullptr) {
                    ::FreeLibrary(installer);
                }
                return launch;
            }
            case Start::kPayloadMissing:
                return ExtractAndRunSetup(dir, nullptr);  // this test program has none
        }
        return SetupLaunch{};
    }

    static SetupLaunch StartDemoSetup(const wchar_t* dir) {
        SetupLaunch launch;
        const std::wstring exe = BuiltProgramPath(L"payload_setup.exe");
        wchar_t line[kSetupCommandLineChars] = {};
        if (!FormatSetupCommandLine(exe.c_str(), dir, line, kSetupCommandLineChars)) {
            return launch;
        }
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started = {};
        if (::CreateProcessW(exe.c_str(), line, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started)) {
            ::CloseHandle(started.hThread);
            launch.process.Reset(started.hProcess);
        }
        return launch;
    }

    // Presses "开始安装", waits for the install to end (and the setup program
    // with it), looks, then asks to close; ends the window itself only when
    // the install never ends or close does not end it.
    Seen InstallToTheEnd() {
        auto run = std::make_shared<Run>();
        run->deadline = ::GetTickCount() + kInstallDeadlineMs;
        RunFromMessageLoop(100, [this, run] {
            if (run->over) {
                return;
            }
            // After start-up, which resolves the directory of its own.
            CopyBounded(dialog_->InstallDir(), dir_.c_str());
            CountHundreds(dialog_->Handle());
            test::SendClickRecord(dialog_->Handle(), kInstall);
            Poll(run);
        });
        run->seen.exitCode = dialog_->DoModal(nullptr);
        run->over = true;  // late timers of this run do nothing
        return run->seen;
    }

    struct Run {
        bool over = false;
        DWORD deadline = 0;
        Seen seen;
    };

    bool Ended() {
        if (dialog_->GetInstallState() != InstallState::Finished) {
            return false;
        }
        HANDLE process = launched_.load();
        return process == nullptr || ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    }

    void Poll(std::shared_ptr<Run> run) {
        RunFromMessageLoop(kPollMs, [this, run] {
            if (run->over) {
                return;
            }
            if (!Ended() && ::GetTickCount() < run->deadline) {
                Poll(run);
                return;
            }
            // Reports posted just before the end are handled first.
            RunFromMessageLoop(kSettleMs, [this, run] {
                if (!run->over) {
                    LookAndClose(run);
                }
            });
        });
    }

    void LookAndClose(std::shared_ptr<Run> run) {
        Seen& seen = run->seen;
        seen.finished = dialog_->GetInstallState() == InstallState::Finished;
        seen.progressText = dialog_->FindControl(kProgressText)->Text();
        seen.bar = dynamic_cast<CBkProgressEx&>(*dialog_->FindControl(kProgressBar)).Value();
        seen.progressPage = dialog_->FindControl(kProgressPage)->IsVisible();
        seen.startPage = dialog_->FindControl(kStartPage)->IsVisible();
        seen.launch = dialog_->FindControl(kLaunch)->IsVisible();
        seen.channelFile = test::FileExists(dir_ + L"\\Profiles\\channel.dat");
        seen.runValue = RunValuePresent();
        seen.hundreds = g_hundreds;
        seen.failures = failures_;
        if (!seen.finished) {
            dialog_->EndDialog(0);
            return;
        }
        seen.closedAtOnce = true;
        if (HWND notice = test::FindMessageDialog()) {
            seen.notice = true;
            test::SendClickRecord(notice, 100);  // "关闭"
        } else {
            ::SendMessageW(dialog_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        RunFromMessageLoop(kCloseGraceMs, [this, run] {
            if (!run->over) {
                run->seen.closedAtOnce = false;  // still open: a question, or nothing at all
                dialog_->EndDialog(0);
            }
        });
    }

    // The setup program records where it installed.
    test::RegistryKeyRemoval ownKey_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Corvane Network\\Velora"};
    ScopedEnvironmentVariable pace_{L"VELORA_DEMO_PACE_MS", L"0"};
    test::TempFolder work_{L"velora_setup_fault"};
    const std::wstring dir_ = work_ / L"Velora";
    std::unique_ptr<CMainDlg> dialog_;
    std::atomic<int> failures_{0};
    std::atomic<HANDLE> launched_{nullptr};
};

TEST_P(SetupFaultWindow, WhatTheUserSeesAndWhichActionsRan) {
    const FaultCase& c = GetParam();
    ScopedEnvironmentVariable fault(L"VELORA_DEMO_FAULT", c.fault);
    std::optional<ScopedEnvironmentVariable> tmp;
    std::optional<ScopedEnvironmentVariable> temp;
    if (c.start == Start::kTempNotWritable) {
        // A temp folder that does not exist cannot take the setup program.
        const std::wstring missing = work_ / L"missing\\";
        tmp.emplace(L"TMP", missing.c_str());
        temp.emplace(L"TEMP", missing.c_str());
    }
    UseStart(c.start);

    const Seen seen = InstallToTheEnd();
    ASSERT_TRUE(seen.finished) << "the install never ended";
    EXPECT_TRUE(seen.closedAtOnce) << "close after the end must end the installer without asking";
    EXPECT_EQ(seen.progressText, c.progressText);
    EXPECT_EQ(seen.bar, c.bar);
    EXPECT_EQ(seen.failures, c.failures) << "resource-error reports";
    EXPECT_EQ(seen.notice, c.notice) << "a failure the user is told about";
    EXPECT_EQ(seen.exitCode, c.exitCode);
    // A late wake-up can read a 100 written after the report that woke it and
    // then take that report's own event too, so 100 may arrive once more than
    // it was written; never less.
    if (c.hundreds == 0) {
        EXPECT_EQ(seen.hundreds, 0);
    } else {
        EXPECT_GE(seen.hundreds, c.hundreds);
        EXPECT_LE(seen.hundreds, c.hundreds + 1);
    }
    // Either the progress page stays with its last text, or the start page
    // returns with only "立即体验".
    EXPECT_EQ(seen.progressPage, !c.completed);
    EXPECT_EQ(seen.startPage, c.completed);
    EXPECT_EQ(seen.launch, c.completed);
    EXPECT_EQ(seen.channelFile, c.completed);
    EXPECT_EQ(seen.runValue, c.completed);
}

constexpr std::uint32_t kBarAtStart = 1;  // the layout's own value
constexpr int kCrash = static_cast<int>(0xC0000005);
constexpr int kUnfinished = kExitSetupUnfinished;
constexpr int kNoPayload = kExitPayloadUnavailable;

// Each failure ends on a visible failure and a non-zero exit code; only a
// setup program that reached 100 and exited with 0 ends with 0.
INSTANTIATE_TEST_SUITE_P(
    Faults, SetupFaultWindow,
    ::testing::Values(
        FaultCase{"ExitsAtOnce", L"exit-at-once", Start::kDemoSetup, L"安装失败（错误代码 1007）",
                  kBarAtStart, false, 0, 0, kUnfinished, true},
        FaultCase{"ExitsNonZeroHalfWay", L"exit-code:7", Start::kDemoSetup,
                  L"安装失败（错误代码 7）", 50, false, 0, 0, 7, true},
        FaultCase{"CrashesMidWay", L"crash-at:60", Start::kDemoSetup,
                  L"安装失败（错误代码 0xC0000005）", 60, false, 0, 0, kCrash, true},
        FaultCase{"NeverReports", L"silent", Start::kDemoSetup, L"安装失败（错误代码 1007）",
                  kBarAtStart, false, 0, 0, kUnfinished, true},
        FaultCase{"ReportsAboveRangeLast", L"report:-5,150", Start::kDemoSetup,
                  L"安装失败（错误代码 1007）", 100, false, 0, 0, kUnfinished, true},
        FaultCase{"ReportsBelowRangeLast", L"report:150,-5", Start::kDemoSetup,
                  L"安装失败（错误代码 1007）", 0, false, 0, 0, kUnfinished, true},
        FaultCase{"ReportsHundredTwice", L"report-100-twice", Start::kDemoSetup, L"正在安装 100%",
                  100, true, 2, 0, 0, false},
        FaultCase{"NoFault", L"", Start::kDemoSetup, L"正在安装 100%", 100, true, 1, 0, 0, false},
        FaultCase{"ExtractedNoFault", L"", Start::kExtracted, L"正在安装 100%", 100, true, 1, 0, 0,
                  false},
        FaultCase{"ExtractedCrash", L"crash-at:0", Start::kExtracted,
                  L"安装失败（错误代码 0xC0000005）", 0, false, 0, 0, kCrash, true},
        FaultCase{"TempFolderNotWritable", L"", Start::kTempNotWritable,
                  L"安装失败（错误代码 1003）", kBarAtStart, false, 0, 1, kNoPayload, false},
        FaultCase{"PayloadMissing", L"", Start::kPayloadMissing, L"安装失败（错误代码 1003）",
                  kBarAtStart, false, 0, 1, kNoPayload, false}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velora
