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

// The system's full names of files (GetFinalPathNameByHandleW) carry a "\\?\"
// prefix and long names, so they may outgrow a PathBuffer.
constexpr std::size_t kFinalPathChars = 2 * kPathChars;
using FinalPathBuffer = wchar_t[kFinalPathChars];

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

// Where `handle` really is, links resolved.
bool FinalPath(HANDLE handle, FinalPathBuffer& out) {
    const DWORD length = GetFinalPathNameByHandleW(handle, out, kFinalPathChars,
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length > 0 && length < kFinalPathChars;
}

bool SamePath(const wchar_t* a, const wchar_t* b) {
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

// True when the final path of `child` is `parent`'s final path plus `name`:
// the object lies right inside that folder, not somewhere a link leads to.
bool LiesIn(HANDLE child, const wchar_t* parentFinal, const wchar_t* name) {
    FinalPathBuffer expected;
    FinalPathBuffer actual;
    return JoinPath(expected, parentFinal, name) && FinalPath(child, actual) &&
           SamePath(expected, actual);
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
    if (!install || !profiles || !GetFileInformationByHandle(profiles.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        !FinalPath(install.Get(), installFinal) ||
        !LiesIn(profiles.Get(), installFinal, kProfilesFolder) ||
        !FinalPath(profiles.Get(), folderFinal)) {
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
    if (!channel || !GetFileInformationByHandle(channel.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        info.nNumberOfLinks != 1 || info.dwVolumeSerialNumber != folderInfo.dwVolumeSerialNumber ||
        !LiesIn(channel.Get(), folderFinal, kChannelFileName)) {
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
    BY_HANDLE_FILE_INFORMATION folderInfo = {};
    FinalPathBuffer folderFinal;
    const ScopedHandle profiles = OpenProfilesFolder(installDir, folder, folderInfo, folderFinal);
    if (!profiles) {
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
    const ScopedHandle channel = OpenChannelFile(file, folderInfo, folderFinal);
    if (!channel || !SetEndOfFile(channel.Get())) {
        return;  // still at offset 0: SetEndOfFile empties it
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
