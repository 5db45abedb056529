#pragma once

#include <atomic>
#include <cstdint>

#include "app/install_state.h"
#include "app/progress_channel.h"
#include "base/path_buffer.h"

namespace velora {

// The installer's main window. It owns what the install needs whether or not a
// window is shown: the install directory, the progress channel and the state.
// Its construction creates the progress mapping and event, so they exist before
// any setup program starts, on the silent path too.
class CMainDlg {
  public:
    CMainDlg() = default;
    CMainDlg(const CMainDlg&) = delete;
    CMainDlg& operator=(const CMainDlg&) = delete;

    PathBuffer& InstallDir() { return installDir_; }
    const ProgressChannel& Progress() const { return progress_; }

    InstallState GetInstallState() const { return state_.load(); }
    // Written by the install worker and the UI thread.
    void SetInstallState(InstallState state) { state_.store(state); }

  private:
    ProgressChannel progress_;
    PathBuffer installDir_ = {};
    std::atomic<InstallState> state_{InstallState::Idle};
};

}  // namespace velora
