#include "app/driver.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>
#include <optional>

#include "app/exit_codes.h"
#include "app/install_location.h"
#include "app/main_dlg.h"
#include "app/msg_dlg.h"
#include "base/win_handles.h"
#include "markup/skin_pool.h"
#include "markup/string_pool.h"
#include "ui/window_impl.h"
#include "markup/style_pool.h"

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

void InitCommonControls() {
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&icc);
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

bool HasSilentSwitch(const wchar_t* commandLine) {
    if (commandLine == nullptr || commandLine[0] == L'\0') {
        return false;
    }
    int argc = 0;
    ScopedLocalMemory<LPWSTR*> argv(::CommandLineToArgvW(commandLine, &argc));
    if (!argv) {
        return false;
    }
    for (int i = 0; i < argc; ++i) {
        if (_wcsicmp(argv.Get()[i], L"/s") == 0) {
            return true;
        }
    }
    return false;
}

bool IsOsSupported(DWORD version) {
    const DWORD major = LOBYTE(LOWORD(version));
    const DWORD minor = HIBYTE(LOWORD(version));
    return major > 5 || (major == 5 && minor >= 1);
}

int RunSilentInstall(PathBuffer& dir, const ProgressChannel& progress, HMODULE payloadModule) {
    dir[0] = L'\0';
    if (progress.IsTaken()) {
        return kExitProgressChannelTaken;
    }
    if (!ResolveInstallDir(dir, nullptr)) {
        return kExitNoInstallDir;
    }
    SetupLaunch launch = ExtractAndRunSetup(dir, payloadModule);
    if (!launch.process) {
        return ExitCodeForLaunchError(launch.error);
    }
    DWORD setupExit = 0;
    if (::WaitForSingleObject(launch.process.Get(), INFINITE) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(launch.process.Get(), &setupExit)) {
        return kExitSetupLost;
    }
    return static_cast<int>(setupExit);
}

int RunInstaller(HINSTANCE instance) {
    // Teardown runs in reverse: window module, then COM, then the mutex.
    ScopedHandle instanceMutex;
    ComApartment com;
    std::optional<WindowModuleScope> windowModule;

    const bool silent = HasSilentSwitch(::GetCommandLineW());
    instanceMutex.Reset(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    if (!instanceMutex || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        // An interactive duplicate leaves quietly; a scripted one must learn
        // that nothing was installed.
        return silent ? kExitAlreadyRunning : kExitOk;
    }

    InitCommonControls();
    windowModule.emplace(instance);
    // Shared markup tables, before any window exists.
    BkSkinObjectPool::Instance().Load(kSkinTableId);
    BkStylePool::Instance().Load(kStyleTableId);
    BkString::Instance().Load(kStringTableId);

    // Created on both paths: it makes the progress objects the setup program opens.
    auto mainDlg = std::make_unique<CMainDlg>();
    if (silent) {
        PathBuffer dir = {};
        return RunSilentInstall(dir, mainDlg->Progress());
    }
    return RunInteractive(*mainDlg);
}

}  // namespace velora
