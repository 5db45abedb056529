#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "app/install_location.h"
#include "app/install_state.h"
#include "app/install_worker.h"
#include "app/path_box.h"
#include "app/progress_channel.h"
#include "app/shutdown_block.h"
#include "base/path_buffer.h"
#include "app/installer_dialog.h"

namespace velora {

// Private message of the main window.
inline constexpr UINT WM_CHECK_DISK_SPACE = WM_USER + 3;

// Control ids of the main window's layout.
namespace main_ids {
inline constexpr int kClose = 100;
inline constexpr int kMaximise = 101;
inline constexpr int kMinimise = 102;
inline constexpr int kAgreementList = 105;
inline constexpr int kAgreementText = 106;
inline constexpr int kHiddenPage = 107;
inline constexpr int kHiddenPageButton = 108;
inline constexpr int kBackground = 110;
inline constexpr int kInstall = 111;
inline constexpr int kLaunch = 112;
inline constexpr int kStartPage = 300;
inline constexpr int kAgree = 301;
inline constexpr int kLicenceLink = 302;
inline constexpr int kCustomToggle = 303;
inline constexpr int kPathBox = 304;
inline constexpr int kBrowse = 305;
inline constexpr int kAutoStart = 306;
inline constexpr int kOpenWhenDone = 307;
inline constexpr int kLowSpaceNotice = 308;
inline constexpr int kProgressPage = 400;
inline constexpr int kProgressBar = 401;
inline constexpr int kProgressText = 402;
inline constexpr int kProgressTitle = 403;
inline constexpr int kAgreementRow = 600;
}  // namespace main_ids

// Extra height of the window while the custom-install area is open.
inline constexpr int kCustomAreaHeight = 118;

// The installer's main window. It owns what the install needs whether or not
// a window is shown: the install directory, the progress channel and the
// install state; its construction creates the progress mapping and event, so
// they exist before any setup program starts, on the silent path too.
class CMainDlg : public CInstallerDialog {
  public:
    CMainDlg();
    ~CMainDlg() override;

    PathBuffer& InstallDir() { return installDir_; }
    // The directory named on the command line (accepted already): the window
    // starts with it instead of looking one up.
    void PresetInstallDir(const wchar_t* dir);
    const ProgressChannel& Progress() const { return progress_; }
    InstallState GetInstallState() const { return state_.load(); }
    void SetInstallState(InstallState state) {
        state_.store(state);
        HoldSessionWhileInstalling();
    }
    KEditInputEx& PathBox() { return pathBox_; }

    // ---- What the window does; public for the tests that drive it -------------
    void StartInstall();
    // Close button, Alt+F4, taskbar, system menu, WM_CLOSE: asks before the
    // install, is ignored during it, ends after it.
    void OnCloseRequest() override;
    void ToggleCustomInstall() { SetCustomArea(!GetItemCheck(main_ids::kCustomToggle), true); }
    bool IsCustomAreaOpen() const { return GetItemCheck(main_ids::kCustomToggle); }
    void BrowseForInstallDir();
    // What choosing `folder` in the folder browser does.
    void ApplyChosenFolder(const wchar_t* folder);
    void LaunchProduct();
    void OnInstallProgress(int percent);
    // The worker is done: a failure is shown and becomes the exit code.
    void OnInstallEnded(InstallEnd end, int code);
    // What the window ends with when it is closed now.
    int ExitCode() const { return exitCode_; }
    void OnCheckDiskSpace();

    // ---- Seams for tests --------------------------------------------------------
    void SetSetupLauncher(InstallWorker::Launcher launcher) { launcher_ = std::move(launcher); }
    void SetFailureReport(InstallWorker::FailureReport report) { report_ = std::move(report); }
    void SetLowSpaceTest(std::function<bool(const wchar_t*)> test) { isLow_ = std::move(test); }

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

  private:
    void OnInitDialog();
    // True when the click was handled here (the host's handling is skipped).
    bool OnClick(UINT id);
    void SetCustomArea(bool open, bool takeFocus);
    void ShowProgressPage();
    void OpenAgreement();
    void FitHiddenListToText();
    bool IsLow(const wchar_t* path) const { return isLow_ ? isLow_(path) : false; }
    // Holds log-off and shutdown off exactly while the install runs.
    void HoldSessionWhileInstalling();

    // Destroyed in reverse: worker (joined), state, progress objects, path box,
    // then the window itself with the host.
    KEditInputEx pathBox_;
    ProgressChannel progress_;
    PathBuffer installDir_ = {};
    InstallDirSource dirSource_ = InstallDirSource::kNone;
    std::atomic<InstallState> state_{InstallState::Idle};
    ShutdownBlock sessionHold_;
    bool confirmationAllowed_ = true;  // no second close confirmation while one is up
    bool completed_ = false;           // a report of 100 finished the install
    int exitCode_ = 0;                 // non-zero once the install failed
    InstallWorker::Launcher launcher_;
    InstallWorker::FailureReport report_;
    std::function<bool(const wchar_t*)> isLow_;
    std::unique_ptr<InstallWorker> worker_;
};

}  // namespace velora
