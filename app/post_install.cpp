#include "app/post_install.h"

#include <windows.h>
#include <exdisp.h>
#include <sddl.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>

#include "app/final_path.h"
#include "app/install_log.h"
#include "base/path_buffer.h"
#include "base/win_handles.h"

namespace velora {
namespace {

struct BstrTraits {
    using Type = BSTR;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type text) { return text != nullptr; }
    static void Close(Type text) { ::SysFreeString(text); }
};
using ScopedBstr = UniqueResource<BstrTraits>;

bool IsEmpty(const wchar_t* text) {
    return text == nullptr || text[0] == L'\0';
}

bool PathExists(const wchar_t* path) {
    WIN32_FIND_DATAW found;
    ScopedFindHandle search(FindFirstFileW(path, &found));
    return static_cast<bool>(search);
}

// Writes all of `bytes`, continuing after short writes; stops on a failure.
bool WriteAll(HANDLE file, const char* bytes, DWORD count) {
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, count, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

// One line in the install log for a post-install action: done, or the
// system's reason (none when a check refused it).
bool LogAction(bool done, const wchar_t* what, const wchar_t* path) {
    const DWORD error = done ? ERROR_SUCCESS : GetLastError();
    InstallLog& log = InstallLog::Instance();
    if (done) {
        log.Write(L"post-install: %ls %ls: done", what, path);
    } else if (error != ERROR_SUCCESS) {
        log.Error(error, L"post-install: %ls %ls: not done", what, path);
    } else {
        log.Write(L"post-install: %ls %ls: skipped (not a plain file or folder)", what, path);
    }
    return done;
}

// <dir>\Profiles, opened without following a link and held without delete
// sharing, so it cannot be moved or replaced while the file is written (a
// handle that only reads attributes takes no part in sharing: hence list
// access). Empty unless it is a plain folder right inside the install
// directory.
ScopedHandle OpenProfilesFolder(const wchar_t* installDir, const wchar_t* folder,
                                BY_HANDLE_FILE_INFORMATION& info, FinalPathBuffer& folderFinal) {
    ScopedHandle install(CreateFileW(installDir, FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ScopedHandle profiles(CreateFileW(folder, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr));
    FinalPathBuffer installFinal;
    if (!install || !profiles) {
        return ScopedHandle();  // the system's reason stays
    }
    if (!GetFileInformationByHandle(profiles.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        !FinalPath(install.Get(), installFinal) ||
        !LiesIn(profiles.Get(), installFinal, kProfilesFolder) ||
        !FinalPath(profiles.Get(), folderFinal)) {
        SetLastError(ERROR_SUCCESS);  // refused, not failed
        return ScopedHandle();
    }
    return profiles;
}

// The channel file, opened (or made) without following a link and without
// truncating it: an existing hard link must be seen before anything is
// written. Empty unless it is a plain file with no other name, right inside
// the held Profiles folder.
ScopedHandle OpenChannelFile(const wchar_t* file, const BY_HANDLE_FILE_INFORMATION& folderInfo,
                             const wchar_t* folderFinal) {
    ScopedHandle channel(CreateFileW(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!channel) {
        return ScopedHandle();  // the system's reason stays
    }
    if (!GetFileInformationByHandle(channel.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        info.nNumberOfLinks != 1 || info.dwVolumeSerialNumber != folderInfo.dwVolumeSerialNumber ||
        !LiesIn(channel.Get(), folderFinal, kChannelFileName)) {
        SetLastError(ERROR_SUCCESS);  // refused, not failed
        return ScopedHandle();
    }
    return channel;
}

// The token this thread acts with: its own when impersonating, else the process's.
ScopedHandle OpenEffectiveToken(DWORD access) {
    HANDLE token = nullptr;
    if (OpenThreadToken(GetCurrentThread(), access, TRUE, &token)) {
        return ScopedHandle(token);
    }
    if (OpenProcessToken(GetCurrentProcess(), access, &token)) {
        return ScopedHandle(token);
    }
    return ScopedHandle();
}

// A BSTR inside a VARIANT; the VARIANT borrows it.
VARIANT TextVariant(const ScopedBstr& text) {
    VARIANT value = {};
    value.vt = VT_BSTR;
    value.bstrVal = text.Get();
    return value;
}

VARIANT NumberVariant(LONG number) {
    VARIANT value = {};
    value.vt = VT_I4;
    value.lVal = number;
    return value;
}

// The desktop shell's automation object: the desktop window's shell view
// hands out the Shell object of the Explorer that runs it.
ScopedComPtr<IShellDispatch2> DesktopShell() {
    ScopedComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                IID_PPV_ARGS(windows.Receive()))) ||
        !windows) {
        return {};
    }
    VARIANT desktop = NumberVariant(CSIDL_DESKTOP);
    VARIANT noRoot = {};
    LONG window = 0;
    ScopedComPtr<IDispatch> found;
    if (windows.Get()->FindWindowSW(&desktop, &noRoot, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                                    found.Receive()) != S_OK ||
        !found) {
        return {};
    }
    ScopedComPtr<IServiceProvider> services;
    ScopedComPtr<IShellBrowser> browser;
    ScopedComPtr<IShellView> view;
    ScopedComPtr<IDispatch> background;
    ScopedComPtr<IShellFolderViewDual> folderView;
    ScopedComPtr<IDispatch> application;
    ScopedComPtr<IShellDispatch2> shell;
    if (FAILED(found.Get()->QueryInterface(IID_PPV_ARGS(services.Receive()))) || !services ||
        FAILED(
            services.Get()->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(browser.Receive()))) ||
        !browser || FAILED(browser.Get()->QueryActiveShellView(view.Receive())) || !view ||
        FAILED(view.Get()->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(background.Receive()))) ||
        !background ||
        FAILED(background.Get()->QueryInterface(IID_PPV_ARGS(folderView.Receive()))) ||
        !folderView || FAILED(folderView.Get()->get_Application(application.Receive())) ||
        !application || FAILED(application.Get()->QueryInterface(IID_PPV_ARGS(shell.Receive())))) {
        return {};
    }
    return shell;
}

bool WriteChannelFileTo(const wchar_t* installDir, PathBuffer& file) {
    PathBuffer folder;
    if (!JoinPath(folder, installDir, kProfilesFolder)) {
        return false;
    }
    if (!PathExists(folder) && !CreateDirectoryW(folder, nullptr)) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION folderInfo = {};
    FinalPathBuffer folderFinal;
    const ScopedHandle profiles = OpenProfilesFolder(installDir, folder, folderInfo, folderFinal);
    if (!profiles) {
        return false;
    }
    char modulePath[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;  // failed or cut short: no trustworthy name to record
    }
    const char* name = PathFindFileNameA(modulePath);
    if (name == modulePath) {
        return false;
    }
    if (!JoinPath(file, folder, kChannelFileName)) {
        return false;
    }
    const ScopedHandle channel = OpenChannelFile(file, folderInfo, folderFinal);
    if (!channel || !SetEndOfFile(channel.Get())) {
        return false;  // still at offset 0: SetEndOfFile empties it
    }
    return WriteAll(channel.Get(), name, static_cast<DWORD>(std::strlen(name)));
}

bool SetAutoStartFor(const wchar_t* installDir) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_WRITE, &opened);
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return false;
    }
    ScopedRegKey run(opened);
    if (IsEmpty(installDir)) {
        return false;
    }
    PathBuffer product;
    if (!JoinPath(product, installDir, kProductRelativePath) || !PathExists(product)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    // The value is a command line: unquoted, "C:\Program Files\..." would
    // start C:\Program.exe. The whole zero-filled buffer is stored, as the
    // product's own tools expect.
    PathBuffer command = {};
    if (!CopyBounded(command, L"\"") || !AppendBounded(command, product) ||
        !AppendBounded(command, L"\"")) {
        return false;
    }
    const LSTATUS written =
        RegSetValueExW(run.Get(), kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                       static_cast<DWORD>(sizeof(command)));
    SetLastError(static_cast<DWORD>(written));
    return written == ERROR_SUCCESS;
}

}  // namespace

bool IsProductInstalled(const wchar_t* installDir) {
    PathBuffer product = {};
    if (IsEmpty(installDir) || !JoinPath(product, installDir, kProductRelativePath)) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(product);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WriteChannelFile(const wchar_t* installDir) {
    if (IsEmpty(installDir)) {
        return false;
    }
    PathBuffer file = {};
    return LogAction(WriteChannelFileTo(installDir, file), L"channel file",
                     file[0] != L'\0' ? file : installDir);
}

bool SetAutoStart(const wchar_t* installDir) {
    return LogAction(SetAutoStartFor(installDir), L"log-on start entry for",
                     IsEmpty(installDir) ? L"(no directory)" : installDir);
}

bool LaunchThroughShell(const LaunchRequest& request) {
    const ScopedComPtr<IShellDispatch2> shell = DesktopShell();
    if (!shell) {
        return false;
    }
    const ScopedBstr file(SysAllocString(request.path));
    const ScopedBstr arguments(SysAllocString(request.arguments));
    const ScopedBstr folder(SysAllocString(request.folder));
    const ScopedBstr verb(SysAllocString(L"open"));
    if (!file || !arguments || !folder || !verb) {
        return false;
    }
    return SUCCEEDED(shell.Get()->ShellExecute(file.Get(), TextVariant(arguments),
                                               TextVariant(folder), TextVariant(verb),
                                               NumberVariant(SW_SHOWNORMAL)));
}

ScopedHandle MakeMediumIntegrityToken() {
    ScopedHandle own = OpenEffectiveToken(TOKEN_ASSIGN_PRIMARY | TOKEN_DUPLICATE | TOKEN_QUERY |
                                          TOKEN_ADJUST_DEFAULT);
    if (!own) {
        return ScopedHandle();
    }
    HANDLE duplicate = nullptr;
    if (!DuplicateTokenEx(own.Get(), MAXIMUM_ALLOWED, nullptr, SecurityAnonymous, TokenPrimary,
                          &duplicate)) {
        return ScopedHandle();
    }
    ScopedHandle lowered(duplicate);
    PSID sid = nullptr;
    if (!ConvertStringSidToSidW(kMediumIntegritySid, &sid)) {
        return ScopedHandle();
    }
    ScopedLocalMemory<PSID> sidOwner(sid);
    TOKEN_MANDATORY_LABEL label = {};
    label.Label.Sid = sid;
    label.Label.Attributes = SE_GROUP_INTEGRITY;
    const DWORD length = static_cast<DWORD>(sizeof(label)) + GetLengthSid(sid);
    if (!SetTokenInformation(lowered.Get(), TokenIntegrityLevel, &label, length)) {
        return ScopedHandle();
    }
    return lowered;
}

bool LaunchWithMediumToken(const LaunchRequest& request) {
    const ScopedHandle medium = MakeMediumIntegrityToken();
    PathBuffer commandLine;  // CreateProcessAsUserW may write into it
    if (!medium || !CopyBounded(commandLine, request.commandLine)) {
        return false;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessAsUserW(
            medium.Get(), request.path, commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
            nullptr, IsEmpty(request.folder) ? nullptr : request.folder, &startup, &started)) {
        return false;
    }
    // Not waited for; the handles are only closed.
    ScopedHandle process(started.hProcess);
    ScopedHandle thread(started.hThread);
    return true;
}

bool LaunchInstalledProduct(const wchar_t* installDir, const LaunchRoutes& routes) {
    if (IsEmpty(installDir)) {
        return false;
    }
    PathBuffer product;
    if (!JoinPath(product, installDir, kProductRelativePath)) {
        return false;
    }
    return LaunchDeElevated(product, L" ", routes);
}

bool LaunchDeElevated(const wchar_t* path, const wchar_t* arguments, const LaunchRoutes& routes) {
    if (IsEmpty(path)) {
        return false;
    }
    if (arguments == nullptr) {
        arguments = L"";
    }
    // "<path>" <arguments>, refused rather than cut when it does not fit.
    PathBuffer commandLine;
    if (!CopyBounded(commandLine, L"\"") || !AppendBounded(commandLine, path) ||
        !AppendBounded(commandLine, L"\" ") || !AppendBounded(commandLine, arguments)) {
        return false;
    }
    // A missing program would have the shell show an error of its own.
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    PathBuffer folder;
    if (!CopyBounded(folder, path)) {
        return false;
    }
    PathRemoveFileSpecW(folder);
    const LaunchRequest request = {path, arguments, commandLine, folder};
    InstallLog& log = InstallLog::Instance();
    if (routes.shell && routes.shell(request)) {
        log.Write(L"post-install: %ls started through the desktop shell", path);
        return true;
    }
    // Never on with the installer's own rights: not starting is better.
    if (routes.token && routes.token(request)) {
        log.Write(L"post-install: %ls started with a medium-integrity token", path);
        return true;
    }
    log.Error(GetLastError(), L"post-install: %ls not started", path);
    return false;
}

}  // namespace velora
