#include "app/driver.h"

#include <objbase.h>

#include <cwchar>
#include <memory>
#include <optional>

#include "app/exit_codes.h"
#include "app/install_location.h"
#include "app/install_log.h"
#include "app/main_dlg.h"
#include "app/layout_ids.h"
#include "app/msg_dlg.h"
#include "app/notice_dlg.h"
#include "app/process_security.h"
#include "base/win_handles.h"
#include "markup/skin_pool.h"
#include "markup/string_pool.h"
#include "markup/style_pool.h"
#include "ui/window_impl.h"
#include "velora_version.h"

namespace velora {
namespace {

// COM for the calling thread, for the life of the object.
class ComApartment {
  public:
    ComApartment() { ::CoInitialize(nullptr); }
    ~ComApartment() { ::CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

// The engine's window classes for the life of the object.
class WindowModuleScope {
  public:
    explicit WindowModuleScope(HINSTANCE instance) { BkWindowModule::Init(instance); }
    ~WindowModuleScope() { BkWindowModule::Term(); }
    WindowModuleScope(const WindowModuleScope&) = delete;
    WindowModuleScope& operator=(const WindowModuleScope&) = delete;
};

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

// The header of the log: who runs what, where.
void LogStart(const wchar_t* commandLine, const CommandLineOptions& options) {
    InstallLog& log = InstallLog::Instance();
    log.Write(L"Velora installer %ls", L"" VELORA_VERSION_TEXT);
    log.Write(L"command line: %ls", commandLine);
    // GetVersionEx answers what the manifest admits to; ntdll tells the truth.
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    const auto getVersion = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (getVersion != nullptr && getVersion(&version) == 0) {
        log.Write(L"Windows %lu.%lu build %lu%ls", version.dwMajorVersion, version.dwMinorVersion,
                  version.dwBuildNumber, RunsOnWine() ? L" (Wine)" : L"");
    }
    log.Write(L"elevated: %ls", IsProcessElevated() ? L"yes" : L"no");
    log.Write(L"mode: %ls", options.silent ? L"silent" : L"interactive");
}

void OpenLog(const CommandLineOptions& options) {
    switch (options.log) {
        case CommandLineOptions::Log::kNone:
            return;
        case CommandLineOptions::Log::kUserTemp:
            InstallLog::Instance().OpenInUserTemp();
            return;
        case CommandLineOptions::Log::kFile:
            InstallLog::Instance().Open(options.logFile.c_str(), InstallLog::Place::kChosen);
            return;
    }
}

int LogExit(int code) {
    InstallLog::Instance().Write(L"installer exit code %d", code);
    return code;
}

// Waits for the setup program to end, logging its reports; false when its
// end or exit code could not be observed.
bool WaitForSetup(HANDLE process, const ProgressChannel& progress, DWORD& exitCode) {
    InstallLog& log = InstallLog::Instance();
    const HANDLE waits[2] = {process, progress.Event()};
    const DWORD count = waits[1] != nullptr ? 2 : 1;
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(count, waits, FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0 + 1 && progress.HasView()) {
            log.Progress(progress.ReadPercent());
            continue;
        }
        if (woken != WAIT_OBJECT_0) {
            log.Error(::GetLastError(), L"waiting for the setup program failed");
            return false;
        }
        // A last report may wait behind the exit.
        if (count == 2 && ::WaitForSingleObject(waits[1], 0) == WAIT_OBJECT_0 &&
            progress.HasView()) {
            log.Progress(progress.ReadPercent());
        }
        log.EndProgress();
        if (!::GetExitCodeProcess(process, &exitCode)) {
            log.Error(::GetLastError(), L"the setup program's exit code could not be read");
            return false;
        }
        log.Write(L"setup program exited with code %lu", exitCode);
        return true;
    }
}

int RunInteractive(CMainDlg& mainDlg) {
    if (!IsOsSupported(::GetVersion()) && !ConfirmOldSystem()) {
        return kExitOk;
    }
    // Every way the window ends itself gives 0, and so does a window that
    // cannot be created.
    return mainDlg.DoModal(nullptr);
}

}  // namespace

bool ConfirmOldSystem() {
    CMsgDlg warning;
    // Without its layout the dialog cannot show; that counts as "继续安装".
    warning.LoadLayout(kOldSystemLayout);
    return warning.DoModal(nullptr) == 0;
}

bool IsOsSupported(DWORD version) {
    const DWORD major = LOBYTE(LOWORD(version));
    const DWORD minor = HIBYTE(LOWORD(version));
    return major > 5 || (major == 5 && minor >= 1);
}

int RunSilentInstall(PathBuffer& dir, const ProgressChannel& progress, const wchar_t* requestedDir,
                     HMODULE payloadModule) {
    InstallLog& log = InstallLog::Instance();
    dir[0] = L'\0';
    if (progress.IsTaken()) {
        log.Write(L"error: another program made the progress objects first; nothing started");
        return kExitProgressChannelTaken;
    }
    InstallDirSource source = InstallDirSource::kCommandLine;
    if (requestedDir != nullptr ? !CopyBounded(dir, requestedDir)
                                : !ResolveInstallDir(dir, nullptr, &source)) {
        log.Write(L"error: no install directory could be determined");
        return kExitNoInstallDir;
    }
    log.Write(L"install directory: %ls (from %ls)", dir, InstallDirSourceName(source));
    SetupLaunch launch = ExtractAndRunSetup(dir, payloadModule);
    if (!launch.process) {
        return ExitCodeForLaunchError(launch.error);
    }
    DWORD setupExit = 0;
    if (!WaitForSetup(launch.process.Get(), progress, setupExit)) {
        return kExitSetupLost;
    }
    return static_cast<int>(setupExit);
}

int RunInstaller(HINSTANCE instance) {
    // Teardown runs in reverse: window module, then COM, then the mutex.
    ScopedHandle instanceMutex;
    ComApartment com;
    std::optional<WindowModuleScope> windowModule;

    const wchar_t* commandLine = ::GetCommandLineW();
    const CommandLineOptions options = ParseCommandLine(commandLine);
    const bool silent = options.silent;
    OpenLog(options);
    LogStart(commandLine, options);
    instanceMutex.Reset(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    if (!instanceMutex || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        InstallLog::Instance().Write(L"another installer is running; nothing done");
        // An interactive duplicate leaves quietly; a scripted one must learn
        // that nothing was installed.
        return LogExit(silent ? kExitAlreadyRunning : kExitOk);
    }

    windowModule.emplace(instance);
    // Shared markup tables, before any window exists.
    BkSkinObjectPool::Instance().Load(kSkinTableId);
    BkStylePool::Instance().Load(kStyleTableId);
    BkString::Instance().Load(kStringTableId);

    // A directory named on the command line is used or refused, never
    // replaced by another one.
    PathBuffer requested = {};
    if (options.hasInstallDir && !AcceptInstallDir(options.installDir.c_str(), requested)) {
        InstallLog::Instance().Write(L"error: /D=%ls is not an acceptable install directory",
                                     options.installDir.c_str());
        if (!silent) {
            ShowNotice(nullptr, kInvalidInstallDirText, options.installDir);
        }
        return LogExit(kExitInvalidInstallDir);
    }

    // Created on both paths: it makes the progress objects the setup program opens.
    auto mainDlg = std::make_unique<CMainDlg>();
    if (silent) {
        PathBuffer dir = {};
        return LogExit(RunSilentInstall(dir, mainDlg->Progress(),
                                        options.hasInstallDir ? requested : nullptr));
    }
    if (options.hasInstallDir) {
        mainDlg->PresetInstallDir(requested);
    }
    return LogExit(RunInteractive(*mainDlg));
}

}  // namespace velora
