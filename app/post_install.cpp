#include "app/post_install.h"

#include <windows.h>
#include <sddl.h>
#include <shlwapi.h>

#include <cstring>
#include <vector>

#include "base/path_buffer.h"
#include "base/win_handles.h"

namespace velora {
namespace {

bool IsEmpty(const wchar_t* text) {
    return text == nullptr || text[0] == L'\0';
}

bool PathExists(const wchar_t* path) {
    WIN32_FIND_DATAW found;
    ScopedFindHandle search(FindFirstFileW(path, &found));
    return static_cast<bool>(search);
}

// Writes all of `bytes`, continuing after short writes; stops on a failure.
void WriteAll(HANDLE file, const char* bytes, DWORD count) {
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, count, &written, nullptr) || written == 0) {
            return;
        }
        bytes += written;
        count -= written;
    }
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

// A primary token like ours, lowered to medium integrity; empty on failure.
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

}  // namespace

void WriteChannelFile(const wchar_t* installDir) {
    if (IsEmpty(installDir)) {
        return;
    }
    PathBuffer folder;
    if (!JoinPath(folder, installDir, kProfilesFolder)) {
        return;
    }
    if (!PathExists(folder) && !CreateDirectoryW(folder, nullptr)) {
        return;
    }
    char modulePath[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;  // failed or cut short: no trustworthy name to record
    }
    const char* name = PathFindFileNameA(modulePath);
    if (name == modulePath) {
        return;
    }
    PathBuffer file;
    if (!JoinPath(file, folder, kChannelFileName)) {
        return;
    }
    ScopedHandle channel(CreateFileW(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     CREATE_ALWAYS, 0, nullptr));
    if (!channel) {
        return;
    }
    WriteAll(channel.Get(), name, static_cast<DWORD>(std::strlen(name)));
}

void SetAutoStart(const wchar_t* installDir) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_WRITE, &opened) != ERROR_SUCCESS) {
        return;
    }
    ScopedRegKey run(opened);
    if (IsEmpty(installDir)) {
        return;
    }
    PathBuffer product;
    if (!JoinPath(product, installDir, kProductRelativePath) || !PathExists(product)) {
        return;
    }
    // The value is a command line: unquoted, "C:\Program Files\..." would
    // start C:\Program.exe. The whole zero-filled buffer is stored, as the
    // product's own tools expect.
    PathBuffer command = {};
    if (!CopyBounded(command, L"\"") || !AppendBounded(command, product) ||
        !AppendBounded(command, L"\"")) {
        return;
    }
    RegSetValueExW(run.Get(), kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                   static_cast<DWORD>(sizeof(command)));
}

bool LaunchInstalledProduct(const wchar_t* installDir) {
    if (IsEmpty(installDir)) {
        return false;
    }
    PathBuffer product;
    if (!JoinPath(product, installDir, kProductRelativePath)) {
        return false;
    }
    return LaunchDeElevated(product, L" ");
}

bool LaunchDeElevated(const wchar_t* path, const wchar_t* arguments) {
    if (IsEmpty(path)) {
        return false;
    }
    // "<path>" <arguments>, refused rather than cut when it does not fit.
    PathBuffer commandLine;
    if (!CopyBounded(commandLine, L"\"") || !AppendBounded(commandLine, path) ||
        !AppendBounded(commandLine, L"\" ") ||
        !AppendBounded(commandLine, arguments != nullptr ? arguments : L"")) {
        return false;
    }
    PROCESS_INFORMATION started = {};
    bool created = false;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    ScopedHandle medium = MakeMediumIntegrityToken();
    if (medium) {
        GetStartupInfoW(&startup);
        created = CreateProcessAsUserW(medium.Get(), path, commandLine, nullptr, nullptr, FALSE,
                                       NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                                       &started) != FALSE;
    }
    if (!created) {
        created = CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                                 nullptr, nullptr, &startup, &started) != FALSE;
    }
    if (created) {
        // Not waited for; the handles are only closed.
        ScopedHandle process(started.hProcess);
        ScopedHandle thread(started.hThread);
    }
    return created;
}

}  // namespace velora
