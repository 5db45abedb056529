#pragma once

#include <windows.h>

namespace velora {

// Layout documents of the installer's windows (resources of type "XML").
inline constexpr UINT kMainLayout = 103;
inline constexpr UINT kExitConfirmLayout = 104;
inline constexpr UINT kAgreementLayout = 106;
inline constexpr UINT kOldSystemLayout = 107;
inline constexpr UINT kProductRunningLayout = 108;
inline constexpr UINT kNoticeLayout = 109;

// Texts of the string table the installer shows itself.
inline constexpr int kChannelTakenText = 103;
inline constexpr int kProductStillRunningText = 104;
inline constexpr int kInstallingShutdownText = 105;
// These carry "{code}", replaced by the exit code.
inline constexpr int kSetupFailedText = 106;
inline constexpr int kSetupUnfinishedText = 107;
inline constexpr int kInstallFailedProgressText = 108;
inline constexpr int kInstallFailedTitle = 109;
// Carries "{dir}", replaced by the refused /D= directory.
inline constexpr int kInvalidInstallDirText = 110;

// Posted by a window to itself to fit a list item to its rich text once the
// layout has placed it (main window and agreement window).
inline constexpr UINT WM_ADJUST_LIST_HEIGHT = WM_USER + 1;

}  // namespace velora
