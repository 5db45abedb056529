#include "app/main_dlg.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "ui/message_params.h"
#include "ui/host_messages.h"
#include "app/agree_dlg.h"
#include "app/install_location.h"
#include "app/install_log.h"
#include "app/list_height_fit.h"
#include "app/layout_ids.h"
#include "app/msg_dlg.h"
#include "app/notice_dlg.h"
#include "app/exit_codes.h"
#include "app/post_install.h"
#include "app/process_control.h"
#include "markup/font_pool.h"
#include "markup/string_pool.h"
#include "ui/bk_window.h"
#include "ui/notification.h"
#include "base/bounded_format.h"

namespace velora {
namespace {

constexpr UINT kIconResourceId = 128;
constexpr wchar_t kProductFolderName[] = L"Velora";

HICON LoadAppIcon(int sizeMetricX, int sizeMetricY) {
    return static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResourceId), IMAGE_ICON,
                     ::GetSystemMetrics(sizeMetricX), ::GetSystemMetrics(sizeMetricY), LR_SHARED));
}

// Grows or shrinks a window by `delta` pixels of height, keeping its place.
void ChangeWindowHeight(HWND window, int delta) {
    RECT rect;
    if (!::GetWindowRect(window, &rect)) {
        return;
    }
    ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top + delta, TRUE);
}

}  // namespace

CMainDlg::CMainDlg()
    : CInstallerDialog(kMainLayout),
      launcher_([](const wchar_t* dir) { return ExtractAndRunSetup(dir, nullptr); }),
      report_(&ShowResourceError),
      isLow_(&IsLowDiskSpace) {}

CMainDlg::~CMainDlg() {
    // The worker goes first: it must not read the view or post after this.
    worker_.reset();
}

// ---- Message map ----------------------------------------------------------------

bool CMainDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT& result) {
    if (message == WM_NOTIFY && lParam != 0) {
        const auto* notify = ParamAddress<const BkNotify>(lParam);
        if (notify->hdr.idFrom == kHostNotifySource && notify->hdr.code == kNotifyClick &&
            OnClick(notify->controlId)) {
            result = 1;
            return true;
        }
    }
    if (message == WM_INITDIALOG) {
        OnInitDialog();
        result = TRUE;
        return true;
    }
    if (CInstallerDialog::ProcessWindowMessage(window, message, wParam, lParam, result)) {
        return true;
    }
    switch (message) {
        case WM_ADJUST_LIST_HEIGHT:
            FitHiddenListToText();
            result = 0;
            return true;
        case WM_INSTALL_PROGRESS:
            OnInstallProgress(static_cast<int>(wParam));
            result = 0;
            return true;
        case WM_INSTALL_ENDED:
            OnInstallEnded(static_cast<InstallEnd>(wParam), static_cast<int>(lParam));
            result = 0;
            return true;
        case WM_CHECK_DISK_SPACE:
            OnCheckDiskSpace();
            result = 0;
            return true;
        case WM_QUERYENDSESSION:
            // Log-off and shutdown wait for the setup program like the close
            // button does: cut off half-way, it would leave a broken product.
            HoldSessionWhileInstalling();
            result = GetInstallState() == InstallState::Installing ? FALSE : TRUE;
            return true;
        default:
            break;
    }
    // Notifications of native children go back to them, so they can answer
    // for themselves.
    HWND child = nullptr;
    if (message == WM_COMMAND) {
        child = ParamHandle<HWND>(lParam);
    } else if (message == WM_NOTIFY && lParam != 0) {
        child = ParamAddress<const NMHDR>(lParam)->hwndFrom;
    } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        child = ParamHandle<HWND>(lParam);
    }
    if (child != nullptr && child != window && ::IsChild(window, child)) {
        result = ::SendMessageW(child, kReflectBase + message, wParam, lParam);
        return true;
    }
    return false;
}

bool CMainDlg::OnClick(UINT id) {
    HWND window = Handle();
    switch (id) {
        case main_ids::kClose:
            OnCloseRequest();
            return false;
        case main_ids::kMaximise:
            ::SendMessageW(window, WM_SYSCOMMAND, ::IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE, 0);
            return false;
        case main_ids::kMinimise:
            ::SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return false;
        case main_ids::kInstall:
            StartInstall();
            return true;
        case main_ids::kLaunch:
            LaunchProduct();
            return true;
        case main_ids::kAgree:
            EnableItem(main_ids::kInstall, GetItemCheck(main_ids::kAgree));
            return true;
        case main_ids::kLicenceLink:
            OpenAgreement();
            return true;
        case main_ids::kCustomToggle:
            ToggleCustomInstall();
            return true;
        case main_ids::kBrowse:
            BrowseForInstallDir();
            return true;
        default:
            return false;
    }
}

// ---- Start-up ----------------------------------------------------------------------

void CMainDlg::OnInitDialog() {
    HWND window = Handle();
    ::SendMessageW(window, WM_SETICON, ICON_BIG,
                   static_cast<LPARAM>(HandleParam(LoadAppIcon(SM_CXICON, SM_CYICON))));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL,
                   static_cast<LPARAM>(HandleParam(LoadAppIcon(SM_CXSMICON, SM_CYSMICON))));
    ::PostMessageW(window, WM_ADJUST_LIST_HEIGHT, 0, 0);
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    if ((style & WS_CLIPCHILDREN) == 0) {
        ::SetWindowLongPtrW(window, GWL_STYLE, style | WS_CLIPCHILDREN);
    }
    SetItemCheck(main_ids::kAutoStart, true);
    SetItemCheck(main_ids::kOpenWhenDone, true);
    SetItemCheck(main_ids::kAgree, true);

    pathBox_.Create(window, main_ids::kPathBox,
                    WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_READONLY);
    ::SendMessageW(pathBox_.Handle(), WM_SETFONT, HandleParam(BkFontPool::Instance().GetFont(0)),
                   TRUE);

    if (dirSource_ != InstallDirSource::kCommandLine) {
        ResolveInstallDir(installDir_, window, &dirSource_);
    }
    pathBox_.SetText(installDir_);
    ::PostMessageW(window, WM_CHECK_DISK_SPACE, 0, 0);
}

void CMainDlg::PresetInstallDir(const wchar_t* dir) {
    if (CopyBounded(installDir_, dir)) {
        dirSource_ = InstallDirSource::kCommandLine;
    }
}

void CMainDlg::OnCheckDiskSpace() {
    if (installDir_[0] == L'\0' || !IsLow(installDir_)) {
        return;
    }
    EnableItem(main_ids::kInstall, false);
    SetCustomArea(true, true);
    ShowItem(main_ids::kLowSpaceNotice, true);
}

// ---- Custom-install area and folder ------------------------------------------------

void CMainDlg::SetCustomArea(bool open, bool takeFocus) {
    if (open == IsCustomAreaOpen()) {
        return;
    }
    SetItemAttribute(main_ids::kCustomToggle, "skin",
                     open ? L"cust_install_up" : L"cust_install_down");
    SetItemCheck(main_ids::kCustomToggle, open);
    ChangeWindowHeight(Handle(), open ? kCustomAreaHeight : -kCustomAreaHeight);
    if (open && takeFocus) {
        ::SetFocus(Handle());
    }
}

void CMainDlg::BrowseForInstallDir() {
    BROWSEINFOW browse = {};
    browse.hwndOwner = Handle();
    browse.lpszTitle = L"选择安装目录";
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&browse);
    if (chosen == nullptr) {
        return;
    }
    // SHGetPathFromIDListW writes up to MAX_PATH characters.
    wchar_t folder[MAX_PATH] = {};
    const bool converted = ::SHGetPathFromIDListW(chosen, folder) != FALSE;
    ::CoTaskMemFree(chosen);
    if (converted) {
        ApplyChosenFolder(folder);
    }
}

void CMainDlg::ApplyChosenFolder(const wchar_t* folder) {
    pathBox_.SetText(folder);
    // A folder too long to take "\Velora" is refused whole, never truncated:
    // the box shows what was chosen and the install directory becomes empty,
    // so installing reports the resource error instead of quietly using the
    // previous folder the box no longer shows.
    PathBuffer dir = {};
    bool low = false;
    if (folder == nullptr || !CopyBounded(dir, folder) || dir[0] == L'\0' ||
        !AppendSeparator(dir) || !AppendBounded(dir, kProductFolderName)) {
        installDir_[0] = L'\0';
    } else {
        CopyBounded(installDir_, dir);
        low = IsLow(installDir_);
    }
    dirSource_ = InstallDirSource::kChosen;
    // Whatever the folder, nothing installs before the licence is accepted.
    EnableItem(main_ids::kInstall, !low && GetItemCheck(main_ids::kAgree));
    ShowItem(main_ids::kLowSpaceNotice, low);
}

// ---- Installing --------------------------------------------------------------------

void CMainDlg::StartInstall() {
    // Objects somebody else made first could carry any progress report: say
    // so and go no further (nothing of the user's is ended either).
    InstallLog& log = InstallLog::Instance();
    if (progress_.IsTaken()) {
        log.Write(L"error: another program made the progress objects first; nothing started");
        ShowNotice(Handle(), kChannelTakenText);
        EndDialog(kExitProgressChannelTaken);
        return;
    }
    const ProcessMatch product = MatchProduct(installDir_);
    if (AnyRunning(product)) {
        CMsgDlg running;
        running.LoadLayout(kProductRunningLayout);
        if (running.DoModal(Handle()) != 0) {
            EndDialog(0);
            return;
        }
        // The setup program would find the product's files in use: say so
        // and stay on the start page.
        if (!EndAll(product, kEndProcessTimeoutMs)) {
            log.Write(L"error: the running product could not be ended; nothing started");
            ShowNotice(Handle(), kProductStillRunningText);
            return;
        }
    }
    TerminateProcessByName(kUpdaterImageName);
    log.Write(L"install directory: %ls (from %ls)", installDir_, InstallDirSourceName(dirSource_));
    SetCustomArea(false, false);
    ShowProgressPage();

    CBkWindow* page = FindControl(main_ids::kHiddenPage);
    if (page == nullptr || std::strcmp(page->GetObjectClass(), "dlg") != 0 || worker_) {
        return;
    }
    SetInstallState(InstallState::Installing);
    worker_ = std::make_unique<InstallWorker>(Handle(), progress_, state_, launcher_, report_);
    if (!worker_->Start(installDir_)) {
        // No thread, no setup program: as if it could not be started.
        if (report_) {
            report_();
        }
        OnInstallEnded(InstallEnd::kNotStarted, kExitSetupNotStarted);
    }
    EnableItem(main_ids::kHiddenPageButton, false);
}

void CMainDlg::ShowProgressPage() {
    ShowItem(main_ids::kInstall, false);
    SetItemAttribute(main_ids::kBackground, "pos", L"0,0,-0,314");
    SetItemAttribute(main_ids::kBackground, "class", L"style_progress_dlg_bg");
    SetItemAttribute(main_ids::kBackground, "headacceptlbtndownmsg", L"0");
    ShowItem(main_ids::kStartPage, false);
    SetItemAttribute(main_ids::kProgressPage, "pos", L"0,313,-0,-0");
    ShowItem(main_ids::kProgressPage, true);
}

void CMainDlg::OnInstallProgress(int percent) {
    // The bar reads its value as unsigned: a negative report would fill it.
    // The text shows the report as it came.
    SetItemIntAttribute(main_ids::kProgressBar, "value", std::clamp(percent, 0, 100));
    wchar_t text[64];
    FormatBounded(text, 64, L"正在安装 %d%%", percent);
    SetItemText(main_ids::kProgressText, text);
    // A report of 100 before the product is in place is not a finished
    // install, whoever wrote it.
    if (percent != 100 || !IsProductInstalled(installDir_)) {
        return;
    }
    ShowItem(main_ids::kLaunch, true);
    ShowItem(main_ids::kProgressPage, false);
    ShowItem(main_ids::kStartPage, true);
    ShowItem(main_ids::kAgreementRow, false);
    // The background was cut to the top of the window for the progress page;
    // left so, nothing would paint where the progress page was and its last
    // picture would stay on screen under the start page.
    SetItemAttribute(main_ids::kBackground, "pos", L"0,0,-0,-0");
    SetItemAttribute(main_ids::kBackground, "class", L"style_home_bg");
    WriteChannelFile(installDir_);
    if (GetItemCheck(main_ids::kAutoStart)) {
        SetAutoStart(installDir_);
    }
    completed_ = true;
    SetInstallState(InstallState::Finished);
}

void CMainDlg::OnInstallEnded(InstallEnd end, int code) {
    SetInstallState(InstallState::Finished);
    int failure = 0;
    int notice = 0;
    switch (end) {
        case InstallEnd::kSetupExited:
            if (code != 0) {
                failure = code;
                notice = kSetupFailedText;
            } else if (!completed_) {
                failure = kExitSetupUnfinished;
                notice = kSetupUnfinishedText;
            }
            break;
        case InstallEnd::kNotStarted:
            failure = code;  // the user was told when the start failed
            break;
        case InstallEnd::kLost:
            failure = code;
            notice = kSetupUnfinishedText;
            break;
    }
    if (failure == 0) {
        return;
    }
    // Never a failure that reads as success: a setup program's code of 0
    // cannot get here, and the window's result is this code from now on.
    exitCode_ = failure;
    InstallLog::Instance().Write(L"install failed (code %d)", failure);
    SetItemText(main_ids::kProgressTitle, TextWithCode(kInstallFailedTitle, failure));
    SetItemText(main_ids::kProgressText, TextWithCode(kInstallFailedProgressText, failure));
    SetItemAttribute(main_ids::kProgressText, "class", L"progress_text_failed");
    if (notice != 0) {
        ShowNotice(Handle(), notice, failure);
        EndDialog(failure);
    }
}

void CMainDlg::LaunchProduct() {
    LaunchInstalledProduct(installDir_);
    EndDialog(0);
}

// ---- Closing -----------------------------------------------------------------------

void CMainDlg::OnCloseRequest() {
    if (!confirmationAllowed_) {
        return;
    }
    switch (GetInstallState()) {
        case InstallState::Idle: {
            confirmationAllowed_ = false;
            CMsgDlg confirm;
            if (confirm.DoModal(Handle()) == 0) {
                EndDialog(0);
            }
            confirmationAllowed_ = true;
            break;
        }
        case InstallState::Installing:
            break;  // the setup program is running: the window stays
        case InstallState::Finished:
            EndDialog(exitCode_);
            break;
    }
}

void CMainDlg::HoldSessionWhileInstalling() {
    HWND window = Handle();
    const bool installing = window != nullptr && GetInstallState() == InstallState::Installing;
    if (installing == sessionHold_.IsHeld()) {
        return;
    }
    if (installing) {
        const std::wstring* reason = BkString::Instance().Find(kInstallingShutdownText);
        sessionHold_.Hold(window, reason != nullptr ? reason->c_str() : nullptr);
    } else {
        // Released when the worker's end is handled (WM_INSTALL_ENDED).
        sessionHold_.Release();
    }
}

// ---- Agreement -----------------------------------------------------------------------

void CMainDlg::OpenAgreement() {
    CAgreeDlg::Open(*this);
}

void CMainDlg::FitHiddenListToText() {
    FitListItemToRichText(*this, main_ids::kAgreementList, main_ids::kAgreementText);
}

}  // namespace velora
