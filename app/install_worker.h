#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "app/install_state.h"
#include "app/payload_launcher.h"
#include "app/progress_channel.h"
#include "base/joining_thread.h"
#include "base/path_buffer.h"
#include "base/win_handles.h"

namespace velora {

// Posted to the main window for each progress report: wParam is the
// percentage exactly as the setup program wrote it, lParam 0.
inline constexpr UINT WM_INSTALL_PROGRESS = WM_USER + 2;

// Posted to the main window once, when the worker is done: wParam is an
// InstallEnd, lParam the exit code that belongs to it (the setup program's,
// or the installer's own code for a setup program that never ran). Posted
// after every progress report, so it arrives after them.
inline constexpr UINT WM_INSTALL_ENDED = WM_USER + 4;
enum class InstallEnd : WPARAM {
    kSetupExited = 0,  // lParam: the setup program's exit code
    kNotStarted = 1,   // lParam: the installer's exit code for why
    kLost = 2,         // the end or the exit code could not be observed
};

// Runs the setup program on a thread of its own and forwards its progress
// reports to a window. Destroying the worker stops it and waits for it, so
// it never outlives the channel and state it reads and writes; the setup
// program itself is left to finish.
class InstallWorker {
  public:
    // Starts the setup program for a directory (ExtractAndRunSetup in the
    // installer; tests start something else).
    using Launcher = std::function<SetupLaunch(const wchar_t* installDir)>;
    // Tells the user the setup program could not be started.
    using FailureReport = std::function<void()>;

    InstallWorker(HWND target, const ProgressChannel& channel, std::atomic<InstallState>& state,
                  Launcher launcher, FailureReport report);
    ~InstallWorker();
    InstallWorker(const InstallWorker&) = delete;
    InstallWorker& operator=(const InstallWorker&) = delete;

    // Starts the thread (once); false when it is already running or could
    // not be made.
    bool Start(const wchar_t* installDir);

  private:
    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    // Waits for the setup program, forwarding reports; false when asked to stop.
    bool FollowProgress(HANDLE process);
    // Posts the percentage now in the view to the window.
    void Forward();
    void PostEnd(InstallEnd end, int code);

    HWND target_;
    const ProgressChannel& channel_;
    std::atomic<InstallState>& state_;
    Launcher launcher_;
    FailureReport report_;
    PathBuffer installDir_ = {};
    ScopedHandle stop_;
    JoiningThread thread_;  // last: joined before the rest goes
};

// The message box the installer shows when the setup program cannot start.
void ShowResourceError();

}  // namespace velora
