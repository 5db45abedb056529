#include "app/install_worker.h"

#include <utility>

#include "app/exit_codes.h"
#include "app/install_log.h"

namespace velora {

void ShowResourceError() {
    ::MessageBoxW(nullptr, L"程序资源出错啦", L"提示", MB_OK);
}

InstallWorker::InstallWorker(HWND target, const ProgressChannel& channel,
                             std::atomic<InstallState>& state, Launcher launcher,
                             FailureReport report)
    : target_(target),
      channel_(channel),
      state_(state),
      launcher_(std::move(launcher)),
      report_(std::move(report)),
      stop_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    // The log's instance is made here, on the creating thread, never first
    // on the worker's.
    InstallLog::Instance();
}

InstallWorker::~InstallWorker() {
    if (thread_.Joinable()) {
        ::SetEvent(stop_.Get());
        thread_.Join();
    }
}

bool InstallWorker::Start(const wchar_t* installDir) {
    if (thread_.Joinable() || !stop_ || !CopyBounded(installDir_, installDir ? installDir : L"")) {
        return false;
    }
    return thread_.Start(&InstallWorker::ThreadMain, this);
}

DWORD WINAPI InstallWorker::ThreadMain(void* self) {
    static_cast<InstallWorker*>(self)->Run();
    return 0;
}

void InstallWorker::Run() {
    SetupLaunch launch;
    int notStarted = kExitNoInstallDir;
    // A channel somebody else made first is never followed.
    if (channel_.IsTaken()) {
        InstallLog::Instance().Write(
            L"error: another program made the progress objects first; nothing started");
        notStarted = kExitProgressChannelTaken;
    } else if (installDir_[0] != L'\0') {
        launch = launcher_(installDir_);
        notStarted = ExitCodeForLaunchError(
            launch.error == SetupLaunchError::kNone ? SetupLaunchError::kNotStarted : launch.error);
    }
    if (!launch.process) {
        if (report_) {
            report_();
        }
        state_.store(InstallState::Finished);
        PostEnd(InstallEnd::kNotStarted, notStarted);
        return;
    }
    if (!FollowProgress(launch.process.Get())) {
        return;  // the window is going away
    }
    DWORD exitCode = 0;
    const bool observed = ::WaitForSingleObject(launch.process.Get(), 0) == WAIT_OBJECT_0 &&
                          ::GetExitCodeProcess(launch.process.Get(), &exitCode);
    InstallLog& log = InstallLog::Instance();
    log.EndProgress();
    state_.store(InstallState::Finished);
    if (observed) {
        log.Write(L"setup program exited with code %lu", exitCode);
        PostEnd(InstallEnd::kSetupExited, static_cast<int>(exitCode));
    } else {
        log.Error(::GetLastError(), L"the setup program's end could not be observed");
        PostEnd(InstallEnd::kLost, kExitSetupLost);
    }
}

void InstallWorker::PostEnd(InstallEnd end, int code) {
    ::PostMessageW(target_, WM_INSTALL_ENDED, static_cast<WPARAM>(end), static_cast<LPARAM>(code));
}

void InstallWorker::Forward() {
    // A report without a view carries no value: nothing to show.
    if (channel_.HasView()) {
        const int percent = channel_.ReadPercent();
        InstallLog::Instance().Progress(percent);
        ::PostMessageW(target_, WM_INSTALL_PROGRESS, static_cast<WPARAM>(percent), 0);
    }
}

bool InstallWorker::FollowProgress(HANDLE process) {
    // Without the progress event there is nothing to forward; the setup
    // program's end still finishes the install, so close requests work again.
    const HANDLE progress = channel_.Event();
    HANDLE waits[3] = {process, stop_.Get(), progress};
    const DWORD count = progress != nullptr ? 3 : 2;
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(count, waits, FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0) {
            // The setup program has ended. Its last report may be waiting
            // behind its exit (the wait prefers the first handle): a final
            // 100 must not be lost.
            if (progress != nullptr && ::WaitForSingleObject(progress, 0) == WAIT_OBJECT_0) {
                Forward();
            }
            return true;
        }
        if (woken == WAIT_OBJECT_0 + 1) {
            return false;  // the window is going away: touch nothing of it
        }
        if (woken == WAIT_OBJECT_0 + 2) {
            // The event resets itself as the wait takes it; resetting it again
            // here could swallow a report written after the read.
            Forward();
            continue;
        }
        // A failed wait would fail again at once: stop instead of spinning.
        return true;
    }
}

}  // namespace velora
