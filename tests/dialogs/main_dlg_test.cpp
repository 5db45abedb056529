#include "app/main_dlg.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "app/msg_dlg.h"
#include "app/post_install.h"
#include "app/process_control.h"
#include "base/win_handles.h"
#include "controls/progress_controls.h"
#include "tests/support/modal_driver.h"
#include "tests/support/test_canvas.h"
#include "tests/support/test_files.h"
#include "tests/support/test_registry.h"
#include "ui/bk_window.h"
#include "ui/control_registry.h"

namespace velora {
namespace {

using namespace main_ids;
using test::BuiltProgramPath;
using test::RunFromMessageLoop;
using test::SendClickRecord;
using test::TempFolder;

int WindowHeight(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

// A main window created (not run) with its setup program replaced.
class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog_ = std::make_unique<CMainDlg>();
        dialog_->SetLowSpaceTest([this](const wchar_t*) { return low_; });
        dialog_->SetFailureReport([this] { ++failures_; });
        dialog_->SetSetupLauncher([this](const wchar_t*) {
            ++launches_;
            return SetupLaunch{ScopedHandle(), SetupLaunchError::kPayloadMissing};
        });
    }
    void TearDown() override { dialog_.reset(); }

    void Create() {
        ASSERT_NE(dialog_->Create(nullptr), nullptr);
        ::ShowWindow(dialog_->Handle(), SW_SHOWNA);
        test::PumpFor(50);  // the posted start-up messages
    }

    CBkWindow& Control(int id) {
        CBkWindow* control = dialog_->FindControl(id);
        if (control == nullptr) {
            ADD_FAILURE() << "no control " << id;
            std::abort();
        }
        return *control;
    }
    bool Shown(int id) { return Control(id).IsVisible(); }
    bool Enabled(int id) { return !Control(id).IsDisabled(); }
    void Click(int id) { SendClickRecord(dialog_->Handle(), id); }

    std::unique_ptr<CMainDlg> dialog_;
    bool low_ = false;
    int failures_ = 0;
    int launches_ = 0;
};

TEST_F(MainWindow, StartsOnTheStartPageWithEverythingChecked) {
    Create();
    EXPECT_EQ(WindowHeight(dialog_->Handle()), 414);
    EXPECT_TRUE(Shown(kStartPage));
    EXPECT_TRUE(Shown(kInstall));
    EXPECT_FALSE(Shown(kLaunch));
    EXPECT_FALSE(Shown(kProgressPage));
    EXPECT_FALSE(Shown(kLowSpaceNotice));
    EXPECT_TRUE(dialog_->GetItemCheck(kAgree));
    EXPECT_TRUE(dialog_->GetItemCheck(kAutoStart));
    EXPECT_TRUE(dialog_->GetItemCheck(kOpenWhenDone));
    EXPECT_NE(::GetWindowLongPtrW(dialog_->Handle(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
    ASSERT_NE(dialog_->PathBox().Handle(), nullptr);
    EXPECT_EQ(::GetDlgCtrlID(dialog_->PathBox().Handle()), kPathBox);
    EXPECT_EQ(dialog_->PathBox().GetText(), std::wstring(dialog_->InstallDir()));
    EXPECT_NE(dialog_->InstallDir()[0], L'\0');
}

TEST_F(MainWindow, TheAgreementBoxEnablesAndDisablesInstallAlsoWhenSpaceIsLow) {
    low_ = true;
    Create();
    EXPECT_FALSE(Enabled(kInstall)) << "low space at start-up";
    EXPECT_TRUE(Shown(kLowSpaceNotice));
    EXPECT_TRUE(dialog_->IsCustomAreaOpen());
    EXPECT_EQ(WindowHeight(dialog_->Handle()), 414 + kCustomAreaHeight);

    dialog_->SetItemCheck(kAgree, false);
    Click(kAgree);
    EXPECT_FALSE(Enabled(kInstall));
    dialog_->SetItemCheck(kAgree, true);
    Click(kAgree);
    EXPECT_TRUE(Enabled(kInstall)) << "re-checking enables whatever the space";
}

TEST_F(MainWindow, CustomAreaTogglesTheWindowHeightAndTheArrow) {
    Create();
    Click(kCustomToggle);
    EXPECT_EQ(WindowHeight(dialog_->Handle()), 532);
    EXPECT_TRUE(dialog_->GetItemCheck(kCustomToggle));
    Click(kCustomToggle);
    EXPECT_EQ(WindowHeight(dialog_->Handle()), 414);
    EXPECT_FALSE(dialog_->GetItemCheck(kCustomToggle));
}

TEST_F(MainWindow, ChoosingAFolderInstallsIntoItsVeloraSubfolder) {
    Create();
    dialog_->ApplyChosenFolder(L"E:\\");
    EXPECT_EQ(std::wstring(dialog_->InstallDir()), L"E:\\Velora");
    EXPECT_EQ(dialog_->PathBox().GetText(), L"E:\\");
    dialog_->ApplyChosenFolder(L"D:\\Apps");
    EXPECT_EQ(std::wstring(dialog_->InstallDir()), L"D:\\Apps\\Velora");

    low_ = true;
    dialog_->ApplyChosenFolder(L"F:\\Small");
    EXPECT_FALSE(Enabled(kInstall));
    EXPECT_TRUE(Shown(kLowSpaceNotice));
    low_ = false;
    dialog_->ApplyChosenFolder(L"G:\\Big");
    EXPECT_TRUE(Enabled(kInstall));
    EXPECT_FALSE(Shown(kLowSpaceNotice));

    // Too long to take "\Velora": refused whole, not truncated, and not
    // silently replaced by the folder chosen before.
    const std::wstring longFolder = L"C:\\" + std::wstring(252, L'x');
    dialog_->ApplyChosenFolder(longFolder.c_str());
    EXPECT_EQ(std::wstring(dialog_->InstallDir()), L"");
    EXPECT_EQ(dialog_->PathBox().GetText(), longFolder);
}

TEST_F(MainWindow, ChoosingAFolderKeepsInstallOffWhileTheLicenceIsNotAccepted) {
    Create();
    dialog_->SetItemCheck(kAgree, false);
    Click(kAgree);
    for (const std::wstring& folder :
         {std::wstring(L"D:\\Apps"), L"C:\\" + std::wstring(300, L'z')}) {
        dialog_->ApplyChosenFolder(folder.c_str());
        EXPECT_FALSE(Enabled(kInstall)) << "folder of " << folder.size() << " characters";
    }
}

TEST_F(MainWindow, FolderBrowserResultsNearTheLengthLimit) {
    Create();
    // "\Velora" is 7 characters: a 252-character folder makes 259, the most that fits.
    const std::wstring fits = L"C:\\" + std::wstring(249, L'f');
    ASSERT_EQ(fits.size(), 252u);
    dialog_->ApplyChosenFolder(fits.c_str());
    EXPECT_EQ(std::wstring(dialog_->InstallDir()), fits + L"\\Velora");
    // A trailing separator is not doubled, so one more character still fits.
    dialog_->ApplyChosenFolder((fits + L"\\").c_str());
    EXPECT_EQ(std::wstring(dialog_->InstallDir()), fits + L"\\Velora");

    for (std::size_t length : {253u, 259u, 260u, 400u}) {
        dialog_->ApplyChosenFolder(L"D:\\Apps");
        const std::wstring tooLong = L"C:\\" + std::wstring(length - 3, L'g');
        dialog_->ApplyChosenFolder(tooLong.c_str());
        EXPECT_EQ(std::wstring(dialog_->InstallDir()), L"") << "length " << length;
    }
    // Spaces and characters outside ASCII are kept as chosen.
    const std::wstring wide = L"D:\\Mes Programmes\\安装 目录 Ünïcode";
    dialog_->ApplyChosenFolder(wide.c_str());
    EXPECT_EQ(std::wstring(dialog_->InstallDir()), wide + L"\\Velora");
}

TEST_F(MainWindow, InstallingAfterARefusedFolderReportsTheResourceError) {
    std::wstring launchedWith = L"<not launched>";
    dialog_->SetSetupLauncher([&](const wchar_t* dir) {
        launchedWith = dir != nullptr ? dir : L"<null>";
        return SetupLaunch{ScopedHandle(), SetupLaunchError::kNoInstallDir};
    });
    Create();
    dialog_->ApplyChosenFolder((L"C:\\" + std::wstring(300, L'z')).c_str());
    ASSERT_TRUE(Enabled(kInstall));
    Click(kInstall);
    test::PumpFor(100);
    EXPECT_TRUE(launchedWith == L"<not launched>" || launchedWith.empty())
        << "no truncated or stale directory may reach the setup program";
    EXPECT_EQ(failures_, 1);
    EXPECT_EQ(dialog_->GetInstallState(), InstallState::Finished);
}

TEST_F(MainWindow, StartingWithTheAreaOpenShrinksItFirstAndShowsTheProgressPage) {
    Create();
    Click(kCustomToggle);
    ASSERT_EQ(WindowHeight(dialog_->Handle()), 532);
    Click(kInstall);
    EXPECT_EQ(WindowHeight(dialog_->Handle()), 414);
    EXPECT_FALSE(dialog_->GetItemCheck(kCustomToggle));
    EXPECT_FALSE(Shown(kInstall));
    EXPECT_FALSE(Shown(kStartPage));
    EXPECT_TRUE(Shown(kProgressPage));
    EXPECT_EQ(Control(kBackground).StyleName(), "style_progress_dlg_bg");
    EXPECT_EQ(Control(kBackground).Rect().bottom, 314);
    EXPECT_EQ(Control(kProgressPage).Rect().top, 313);
    EXPECT_FALSE(Enabled(kHiddenPageButton));
    test::PumpFor(100);
    EXPECT_EQ(launches_, 1);
    EXPECT_EQ(failures_, 1) << "the replaced setup program never starts";
    EXPECT_EQ(dialog_->GetInstallState(), InstallState::Finished);
}

TEST_F(MainWindow, ProgressReportsMoveTheBarAndTextAndOnlyExactlyHundredCompletes) {
    Create();
    dialog_->SetInstallState(InstallState::Installing);
    auto* bar = dynamic_cast<CBkProgressEx*>(&Control(kProgressBar));
    ASSERT_NE(bar, nullptr);
    for (int percent : {10, 50, -5, 150}) {
        dialog_->OnInstallProgress(percent);
        EXPECT_EQ(Control(kProgressText).Text(), L"正在安装 " + std::to_wstring(percent) + L"%");
        EXPECT_EQ(dialog_->GetInstallState(), InstallState::Installing) << percent;
    }
    dialog_->OnInstallProgress(50);
    EXPECT_EQ(bar->Value(), 50u);
}

TEST_F(MainWindow, AtHundredTheStartPageReturnsWithOnlyLaunchAndThePostInstallActionsRun) {
    Create();
    TempFolder dir(L"velora_main_done");
    CopyBounded(dialog_->InstallDir(), dir.Path().c_str());
    Click(kInstall);
    dialog_->SetInstallState(InstallState::Installing);
    RECT client;
    ::GetClientRect(dialog_->Handle(), &client);
    test::Canvas canvas(client.right, client.bottom, RGB(255, 0, 255));
    const auto print = [&] {
        ::SendMessageW(dialog_->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()),
                       PRF_CLIENT);
    };
    dialog_->OnInstallProgress(95);
    print();  // the progress page as it was last seen
    // A 100 while the product is not there yet (a forged report) finishes nothing.
    dialog_->OnInstallProgress(100);
    EXPECT_FALSE(Shown(kLaunch));
    EXPECT_FALSE(test::FolderExists(dir / L"Profiles"));
    ::CreateDirectoryW((dir / L"Program").c_str(), nullptr);
    test::WriteFileBytes(dir / L"Program\\Dovanix.exe", "MZ");
    dialog_->OnInstallProgress(100);
    EXPECT_TRUE(Shown(kStartPage));
    EXPECT_TRUE(Shown(kLaunch));
    EXPECT_FALSE(Shown(kInstall));
    EXPECT_FALSE(Shown(kAgreementRow));
    EXPECT_FALSE(Shown(kProgressPage));
    EXPECT_FALSE(Shown(kCustomToggle));
    EXPECT_EQ(dialog_->GetInstallState(), InstallState::Finished);
    EXPECT_TRUE(test::FileExists(dir / L"Profiles\\channel.dat"));
    // Where the progress page was, the start page's background again, not
    // what the progress page last showed.
    print();
    for (int y = 320; y < client.bottom; y += 7) {
        for (int x = 0; x < client.right; x += 5) {
            ASSERT_EQ(RGB(0xF4, 0xF8, 0xFF), canvas.At(x, y)) << x << "," << y;
        }
    }

    // A second 100 runs the actions again.
    ::DeleteFileW((dir / L"Profiles\\channel.dat").c_str());
    dialog_->OnInstallProgress(100);
    EXPECT_TRUE(test::FileExists(dir / L"Profiles\\channel.dat"));
}

TEST_F(MainWindow, TheLogOnEntryIsWrittenOnlyWhenItsBoxIsChecked) {
    Create();
    TempFolder dir(L"velora_main_autostart");
    ::CreateDirectoryW((dir / L"Program").c_str(), nullptr);
    test::WriteFileBytes(dir / L"Program\\Dovanix.exe", "MZ");
    CopyBounded(dialog_->InstallDir(), dir.Path().c_str());
    const auto runValuePresent = [] {
        return ::RegGetValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName, RRF_RT_REG_SZ, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS;
    };
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName);

    dialog_->SetItemCheck(kAutoStart, false);
    dialog_->OnInstallProgress(100);
    EXPECT_FALSE(runValuePresent());
    dialog_->SetItemCheck(kAutoStart, true);
    dialog_->OnInstallProgress(100);
    EXPECT_TRUE(runValuePresent());
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, kRunValueName);
}

// ---- Closing (the window runs modally; actions come from timers) ---------------

class MainWindowClosing : public MainWindow {
  protected:
    void TearDown() override {
        test::DropPendingActions();
        if (setup_) {
            ::TerminateProcess(setup_.Get(), 1);
        }
        MainWindow::TearDown();
    }

    int RunModal() { return dialog_->DoModal(nullptr); }
    HWND Main() const { return dialog_->Handle(); }

    // The idle stand-in as the setup program: the install runs until EndSetup.
    void UseRunningSetup() {
        setup_ = test::StartProgram(L"\"" + BuiltProgramPath(L"idle_process.exe") + L"\"");
        ASSERT_TRUE(setup_);
        dialog_->SetSetupLauncher([this](const wchar_t*) {
            HANDLE copy = nullptr;
            ::DuplicateHandle(::GetCurrentProcess(), setup_.Get(), ::GetCurrentProcess(), &copy, 0,
                              FALSE, DUPLICATE_SAME_ACCESS);
            return SetupLaunch{ScopedHandle(copy), SetupLaunchError::kNone};
        });
    }
    // Ends the setup program as a finished install (100 reported, the product
    // in place, exit code 0); true once the worker has seen the install end.
    bool EndSetup() {
        ::CreateDirectoryW((installed_ / L"Program").c_str(), nullptr);
        test::WriteFileBytes(installed_ / L"Program\\Dovanix.exe", "MZ");
        CopyBounded(dialog_->InstallDir(), installed_.Path().c_str());
        dialog_->SetItemCheck(kAutoStart, false);
        dialog_->OnInstallProgress(100);
        ::TerminateProcess(setup_.Get(), 0);
        return test::PumpUntil(
            3000, [this] { return dialog_->GetInstallState() == InstallState::Finished; });
    }

    ScopedHandle setup_;
    TempFolder installed_{L"velora_closing_installed"};
};

// The keyboard alone, through the modal loop: the focus walks every control
// (the path box at its place), Space ticks and opens, Escape asks the exit
// question, whose default answer keeps the window and whose other ends it.
TEST_F(MainWindowClosing, TheKeyboardReachesEverythingAndAnswersTheExitQuestion) {
    const auto focusedId = [this]() -> int {
        if (dialog_->FocusedControl() == 0) {
            HWND focus = ::GetFocus();
            HWND box = dialog_->PathBox().Handle();
            return focus == box || ::IsChild(box, focus) ? kPathBox : -1;
        }
        return BkControlRegistry::Lookup(dialog_->FocusedControl())->Id();
    };
    struct Step {
        UINT key;
        bool shift;
        int focused;  // afterwards; -1: not checked
        std::function<bool()> holds;
    };
    const auto always = [] { return true; };
    const auto questions = [](int count) {
        return [count] { return test::CountMessageDialogs() == count; };
    };
    const std::vector<Step> keys = {
        {VK_TAB, false, kAgree, always},
        {VK_SPACE, false, kAgree, [this] { return !Enabled(kInstall); }},
        {VK_SPACE, false, kAgree, [this] { return Enabled(kInstall); }},
        {VK_TAB, false, kLicenceLink, always},
        {VK_TAB, false, kCustomToggle, always},
        {VK_SPACE, false, kCustomToggle, [this] { return dialog_->IsCustomAreaOpen(); }},
        {VK_TAB, false, kPathBox, always},
        {VK_TAB, false, kBrowse, always},
        {VK_TAB, false, kAutoStart, always},
        {VK_TAB, false, kMinimise, always},
        {VK_TAB, false, kClose, always},
        {VK_TAB, false, kInstall, always},
        {VK_TAB, true, kClose, always},
        {VK_ESCAPE, false, -1, questions(1)},
        {VK_RETURN, false, kClose, questions(0)},  // "取消"
        {VK_ESCAPE, false, -1, questions(1)},
        {VK_TAB, false, -1, questions(1)},
        {VK_RETURN, false, -1, always},  // "确定"
    };
    std::vector<std::function<void()>> steps = {
        [&] { EXPECT_EQ(focusedId(), kInstall) << "the default button"; }};
    for (size_t i = 0; i < keys.size(); ++i) {
        const Step& step = keys[i];
        steps.push_back([step] { test::PostKey(step.key, step.shift); });
        steps.push_back([&, i, step] {
            if (step.focused != -1) {
                EXPECT_EQ(focusedId(), step.focused) << "after key " << i;
            }
            EXPECT_TRUE(step.holds()) << "after key " << i;
        });
    }
    test::RunStepsFromMessageLoop(60, std::move(steps));
    RunFromMessageLoop(60 * 2 * (keys.size() + 3), [this] { dialog_->EndDialog(-1); });
    EXPECT_EQ(RunModal(), 0);
}

class MainWindowClosedFromOutside : public MainWindowClosing,
                                    public ::testing::WithParamInterface<test::CloseWay> {
  protected:
    void Close() { test::PostClose(Main(), GetParam()); }
};

// Before the install the exit question; during it nothing at all (the window
// stays, the setup program and the worker go on); after it the end.
TEST_P(MainWindowClosedFromOutside, MeansWhatTheCloseButtonMeans) {
    UseRunningSetup();
    int questions = -1;
    bool untouched = false;
    RunFromMessageLoop(100, [&] { Close(); });
    RunFromMessageLoop(400, [&] {
        questions = test::CountMessageDialogs();
        SendClickRecord(test::FindMessageDialog(), CMsgDlg::kButtonOne);  // "取消"
    });
    RunFromMessageLoop(600, [&] {
        SendClickRecord(Main(), kInstall);
        Close();
    });
    RunFromMessageLoop(900, [&] {
        untouched = ::IsWindowVisible(Main()) && test::CountMessageDialogs() == 0 &&
                    dialog_->GetInstallState() == InstallState::Installing &&
                    ::WaitForSingleObject(setup_.Get(), 0) == WAIT_TIMEOUT;
        if (!EndSetup()) {
            dialog_->EndDialog(-1);
            return;
        }
        Close();
    });
    EXPECT_EQ(RunModal(), 0);
    EXPECT_EQ(questions, 1);
    EXPECT_TRUE(untouched);
}

INSTANTIATE_TEST_SUITE_P(ByRequest, MainWindowClosedFromOutside,
                         ::testing::ValuesIn(test::kCloseWays));

TEST_F(MainWindowClosing, LogOffAndShutdownWaitOnlyWhileTheSetupProgramRuns) {
    UseRunningSetup();
    Create();
    const auto sessionMayEnd = [this] {
        return ::SendMessageW(Main(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != FALSE;
    };
    EXPECT_TRUE(sessionMayEnd()) << "before the install";
    Click(kInstall);
    EXPECT_FALSE(sessionMayEnd()) << "during the install";
    ASSERT_TRUE(EndSetup());
    EXPECT_TRUE(sessionMayEnd()) << "after it";
}

// Another program made the progress objects before the installer: it could
// report anything, so nothing is installed and nothing of the user's ended.
TEST_F(MainWindowClosing, ProgressObjectsMadeByAnotherProgramStopTheInstall) {
    dialog_.reset();
    ProgressChannel squatter(kProgressMappingName, kProgressEventName, ChannelAccess::kDefault);
    ASSERT_FALSE(squatter.IsTaken());
    SetUp();
    ASSERT_TRUE(dialog_->Progress().IsTaken());
    bool noticeShown = false;
    RunFromMessageLoop(100, [&] { SendClickRecord(Main(), kInstall); });
    RunFromMessageLoop(500, [&] {
        HWND notice = test::FindMessageDialog();
        noticeShown = notice != nullptr;
        SendClickRecord(notice, CMsgDlg::kButtonOne);  // "关闭"
    });
    EXPECT_EQ(kExitProgressChannelTaken, RunModal());
    EXPECT_TRUE(noticeShown);
    EXPECT_EQ(0, launches_);
    EXPECT_EQ(InstallState::Idle, dialog_->GetInstallState());
}

TEST_F(MainWindowClosing, BeforeInstallingItAsksAndCancelKeepsTheWindow) {
    int dialogsWhileAsking = 0;
    bool stillOpenAfterCancel = false;
    RunFromMessageLoop(100, [&] { ::PostMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    RunFromMessageLoop(300, [&] {
        // A second request while the question is up is ignored.
        ::PostMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    RunFromMessageLoop(500, [&] {
        dialogsWhileAsking = test::CountMessageDialogs();
        SendClickRecord(test::FindMessageDialog(), CMsgDlg::kButtonOne);  // "取消"
    });
    RunFromMessageLoop(700, [&] {
        stillOpenAfterCancel = ::IsWindowVisible(Main()) != FALSE;
        SendClickRecord(Main(), kClose);
    });
    RunFromMessageLoop(900, [&] {
        SendClickRecord(test::FindMessageDialog(), CMsgDlg::kButtonZero);  // "确定"
    });
    EXPECT_EQ(RunModal(), 0);
    EXPECT_EQ(dialogsWhileAsking, 1);
    EXPECT_TRUE(stillOpenAfterCancel);
}

TEST_F(MainWindowClosing, DuringTheInstallCloseIsIgnoredAndAfterItEndsAtOnce) {
    bool stayed = false;
    RunFromMessageLoop(100, [&] {
        dialog_->SetInstallState(InstallState::Installing);
        ::SendMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
        stayed = ::IsWindowVisible(Main()) && test::CountMessageDialogs() == 0;
        dialog_->SetInstallState(InstallState::Finished);
        ::SendMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(RunModal(), 0);
    EXPECT_TRUE(stayed);
}

TEST_F(MainWindowClosing, ASetupProgramEndingMidWayIsReportedAndEndsWithItsCode) {
    test::ScopedEnvironmentVariable idle(L"VELORA_IDLE_MS", L"200");
    dialog_->SetSetupLauncher([](const wchar_t*) {
        return SetupLaunch{
            test::StartProgram(L"\"" + BuiltProgramPath(L"idle_process.exe") + L"\""),
            SetupLaunchError::kNone};
    });
    bool endedWithoutActions = false;
    RunFromMessageLoop(100, [&] {
        SendClickRecord(Main(), kInstall);
        dialog_->OnInstallProgress(60);
    });
    bool told = false;
    RunFromMessageLoop(1500, [&] {
        endedWithoutActions = dialog_->GetInstallState() == InstallState::Finished &&
                              !dialog_->FindControl(kLaunch)->IsVisible();
        HWND notice = test::FindMessageDialog();
        told = notice != nullptr;
        SendClickRecord(notice, CMsgDlg::kButtonOne);  // "关闭"
    });
    EXPECT_EQ(RunModal(), kExitSetupUnfinished);
    EXPECT_TRUE(endedWithoutActions);
    EXPECT_TRUE(told);
    EXPECT_EQ(failures_, 0);
}

// ---- A running product ----------------------------------------------------------

class RunningProduct : public MainWindowClosing {
  protected:
    // Starts the idle stand-in as `relativePath` below the folder, by default
    // as the product installed in <folder>\Velora, where InstallIntoFolder
    // points the window.
    void StartProduct(const wchar_t* relativePath = L"Velora\\Program\\Dovanix.exe",
                      const wchar_t* processSddl = nullptr) {
        ::CreateDirectoryW((folder_ / L"Velora").c_str(), nullptr);
        ::CreateDirectoryW((folder_ / L"Velora\\Program").c_str(), nullptr);
        const std::wstring path = folder_ / relativePath;
        ASSERT_TRUE(
            ::CopyFileW(BuiltProgramPath(L"idle_process.exe").c_str(), path.c_str(), FALSE));
        product_ = test::StartProgram(L"\"" + path + L"\"", processSddl);
        ASSERT_TRUE(product_);
    }
    void TearDown() override {
        if (product_ && ::WaitForSingleObject(product_.Get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(product_.Get(), 1);
        }
        MainWindowClosing::TearDown();
    }
    void InstallIntoFolder() { dialog_->ApplyChosenFolder(folder_.Path().c_str()); }
    bool ProductEnded(DWORD waitMs) {
        return ::WaitForSingleObject(product_.Get(), waitMs) == WAIT_OBJECT_0;
    }

    TempFolder folder_{L"velora_running_product"};
    ScopedHandle product_;
};

TEST_F(RunningProduct, QuittingTheInstallLeavesTheProductAndStartsNothing) {
    StartProduct();
    int questions = -1;
    RunFromMessageLoop(100, [&] {
        InstallIntoFolder();
        SendClickRecord(Main(), kInstall);
    });
    // The main window's close button is out of reach under the question: so
    // is every other way of closing it.
    RunFromMessageLoop(300, [&] { test::PostClose(Main(), test::CloseWay::kWmClose); });
    RunFromMessageLoop(500, [&] {
        questions = test::CountMessageDialogs();
        for (HWND question : test::MessageDialogs()) {
            SendClickRecord(question, CMsgDlg::kButtonOne);  // "退出安装" (and any other)
        }
    });
    EXPECT_EQ(RunModal(), 0);
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(ProductEnded(200));
    EXPECT_EQ(launches_, 0);
    EXPECT_EQ(dialog_->GetInstallState(), InstallState::Idle);
}

TEST_F(RunningProduct, ContinuingEndsTheProductAndInstalls) {
    StartProduct();
    RunFromMessageLoop(100, [&] {
        InstallIntoFolder();
        SendClickRecord(Main(), kInstall);
    });
    RunFromMessageLoop(400, [&] {
        SendClickRecord(test::FindMessageDialog(), CMsgDlg::kButtonZero);  // "继续安装"
    });
    RunFromMessageLoop(900, [&] { ::SendMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(RunModal(), kExitPayloadUnavailable) << "the fake launcher has no payload";
    EXPECT_TRUE(ProductEnded(3000));
    EXPECT_EQ(launches_, 1);
}

TEST_F(RunningProduct, AProductThatCannotBeEndedStopsTheInstallOnTheStartPage) {
    StartProduct(L"Velora\\Program\\Dovanix.exe", test::kEndingDeniedSddl);
    bool stayed = false;
    RunFromMessageLoop(100, [&] {
        InstallIntoFolder();
        SendClickRecord(Main(), kInstall);
    });
    RunFromMessageLoop(400, [&] {
        SendClickRecord(test::FindMessageDialog(), CMsgDlg::kButtonZero);  // "继续安装"
    });
    bool told = false;
    RunFromMessageLoop(700, [&] {
        stayed = Shown(kStartPage) && Shown(kInstall) && !Shown(kProgressPage);
        told = test::FindMessageDialog() != nullptr;
        SendClickRecord(test::FindMessageDialog(), CMsgDlg::kButtonOne);  // "关闭"
    });
    RunFromMessageLoop(900, [&] { SendClickRecord(Main(), kClose); });
    RunFromMessageLoop(1100, [&] {
        SendClickRecord(test::FindMessageDialog(), CMsgDlg::kButtonZero);  // "确定"
    });
    EXPECT_EQ(RunModal(), 0);
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(told) << "the user is told why nothing happens";
    EXPECT_FALSE(ProductEnded(0));
    EXPECT_EQ(launches_, 0);
    EXPECT_EQ(dialog_->GetInstallState(), InstallState::Idle);
}

TEST_F(RunningProduct, AProgramOfTheProductsNameElsewhereIsNotAskedAboutNorEnded) {
    StartProduct(kProductImageName);
    bool asked = false;
    RunFromMessageLoop(100, [&] {
        InstallIntoFolder();
        SendClickRecord(Main(), kInstall);
    });
    RunFromMessageLoop(400, [&] {
        const HWND question = test::FindMessageDialog();
        asked = question != nullptr;
        if (asked) {
            SendClickRecord(question, CMsgDlg::kButtonOne);  // "退出安装"
        } else {
            ::SendMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    });
    EXPECT_EQ(RunModal(), kExitPayloadUnavailable) << "the fake launcher has no payload";
    EXPECT_FALSE(asked);
    EXPECT_FALSE(ProductEnded(0));
    EXPECT_EQ(launches_, 1);
}

TEST_F(RunningProduct, TheUpdaterIsEndedWithoutAsking) {
    StartProduct(kUpdaterImageName);
    int questions = -1;
    RunFromMessageLoop(100, [&] {
        SendClickRecord(Main(), kInstall);
        questions = test::CountMessageDialogs();
    });
    RunFromMessageLoop(400, [&] { ::SendMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(RunModal(), kExitPayloadUnavailable) << "the fake launcher has no payload";
    EXPECT_EQ(questions, 0);
    EXPECT_TRUE(ProductEnded(3000));
    EXPECT_EQ(launches_, 1);
}

}  // namespace
}  // namespace velora
