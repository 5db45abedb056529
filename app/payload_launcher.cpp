#include "app/payload_launcher.h"

#include <cwchar>

#include "app/exit_codes.h"
#include "app/install_location.h"
#include "app/install_log.h"
#include "app/process_security.h"
#include "base/path_buffer.h"
#include "base/bounded_format.h"

namespace velora {
namespace {

struct PayloadBytes {
    const void* data = nullptr;
    DWORD size = 0;
};

bool FindPayload(HMODULE module, PayloadBytes& out) {
    HRSRC info =
        ::FindResourceW(module, MAKEINTRESOURCEW(kPayloadResourceId), kPayloadResourceType);
    if (info == nullptr) {
        return false;
    }
    out.size = ::SizeofResource(module, info);
    if (out.size == 0) {
        return false;
    }
    HGLOBAL loaded = ::LoadResource(module, info);
    if (loaded == nullptr) {
        return false;
    }
    out.data = ::LockResource(loaded);
    return out.data != nullptr;
}

}  // namespace

int ExitCodeForLaunchError(SetupLaunchError error) {
    switch (error) {
        case SetupLaunchError::kNone:
            return kExitOk;
        case SetupLaunchError::kNoInstallDir:
            return kExitNoInstallDir;
        case SetupLaunchError::kPayloadMissing:
        case SetupLaunchError::kPayloadNotWritten:
            return kExitPayloadUnavailable;
        case SetupLaunchError::kNotStarted:
            return kExitSetupNotStarted;
    }
    return kExitSetupNotStarted;
}

bool SetupTempParent(wchar_t* out, std::size_t capacity, Elevation elevation) {
    if (out == nullptr || capacity < kPathChars) {
        return false;
    }
    PathBuffer folder = {};
    if (elevation == Elevation::kElevated) {
        const UINT len = ::GetWindowsDirectoryW(folder, kPathChars);
        if (len == 0 || len >= kPathChars || !JoinPath(folder, folder, L"Temp")) {
            return false;
        }
    } else {
        const DWORD len = ::GetTempPathW(kPathChars, folder);
        if (len == 0 || len >= kPathChars) {
            return false;
        }
    }
    if (!AppendSeparator(folder) || folder[0] == L'\0') {
        return false;
    }
    return CopyBounded(out, capacity, folder);
}

bool SetupTempParent(wchar_t* out, std::size_t capacity) {
    return SetupTempParent(out, capacity,
                           IsProcessElevated() ? Elevation::kElevated : Elevation::kNotElevated);
}

bool FormatSetupCommandLine(const wchar_t* exe, const wchar_t* dir, wchar_t* out,
                            std::size_t capacity) {
    if (out == nullptr || capacity == 0) {
        return false;
    }
    out[0] = L'\0';
    PathBuffer bare = {};
    if (exe == nullptr || dir == nullptr || !CopyBounded(bare, dir)) {
        return false;
    }
    // A backslash before the closing quote would escape it for the setup
    // program's parser and run the argument on: trailing separators go, and
    // the one a drive root keeps is doubled ("X:\\" reads back as "X:\").
    StripTrailingSeparators(bare);
    const std::size_t length = std::wcslen(bare);
    const wchar_t* rootEscape = (length > 0 && bare[length - 1] == L'\\') ? L"\\" : L"";
    const int n =
        FormatBounded(out, capacity, L"\"%ls\" /instpath=\"%ls%ls\"", exe, bare, rootEscape);
    if (n < 0 || static_cast<std::size_t>(n) >= capacity) {
        out[0] = L'\0';
        return false;
    }
    return true;
}

SetupLaunch ExtractAndRunSetup(const wchar_t* installDir, HMODULE module,
                               const FolderNameSource& names, const wchar_t* parent) {
    InstallLog& log = InstallLog::Instance();
    SetupLaunch result;
    if (installDir == nullptr || installDir[0] == L'\0') {
        log.Write(L"error: no install directory for the setup program");
        result.error = SetupLaunchError::kNoInstallDir;
        return result;
    }
    PayloadBytes payload;
    if (!FindPayload(module, payload)) {
        log.Error(::GetLastError(), L"the setup program is missing from the installer");
        result.error = SetupLaunchError::kPayloadMissing;
        return result;
    }
    PathBuffer temp = {};
    if (parent != nullptr ? !CopyBounded(temp, parent) : !SetupTempParent(temp, kPathChars)) {
        log.Error(::GetLastError(), L"no temporary folder for the setup program");
        result.error = SetupLaunchError::kPayloadNotWritten;
        return result;
    }
    PathBuffer exe = {};
    const bool made = result.folder.Create(temp, names);
    if (made) {
        log.Write(L"setup folder: %ls", result.folder.Path());
    }
    if (!made || !result.folder.WriteProgram(payload.data, payload.size) ||
        !result.folder.LaunchPath(exe, kPathChars)) {
        log.Error(::GetLastError(), L"the setup program could not be written below %ls", temp);
        result.folder.Remove();
        result.error = SetupLaunchError::kPayloadNotWritten;
        return result;
    }
    wchar_t commandLine[kSetupCommandLineChars] = {};
    if (!FormatSetupCommandLine(exe, installDir, commandLine, kSetupCommandLineChars)) {
        log.Write(L"error: the setup program's command line is too long");
        result.folder.Remove();
        result.error = SetupLaunchError::kNotStarted;
        return result;
    }
    log.Write(L"setup command line: %ls", commandLine);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // The path of the open file as the application name too: nothing is
    // searched for. It runs in its own folder, not the installer's (usually
    // Downloads, where anybody's files lie).
    if (!::CreateProcessW(exe, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                          result.folder.Path(), &startup, &info)) {
        log.Error(::GetLastError(), L"the setup program could not be started");
        result.folder.Remove();
        result.error = SetupLaunchError::kNotStarted;
        return result;
    }
    result.folder.ReleaseProgram();
    ::CloseHandle(info.hThread);
    result.process.Reset(info.hProcess);
    result.folder.WatchProcess(info.hProcess);
    return result;
}

}  // namespace velora
