#include "app/payload_launcher.h"

#include <cwchar>

#include "base/path_buffer.h"

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

bool SetupTempParent(wchar_t* out, std::size_t capacity) {
    if (out == nullptr || capacity < kPathChars) {
        return false;
    }
    PathBuffer folder = {};
    const DWORD len = ::GetTempPathW(kPathChars, folder);
    if (len == 0 || len >= kPathChars || !AppendSeparator(folder) || folder[0] == L'\0') {
        return false;
    }
    return CopyBounded(out, capacity, folder);
}

bool FormatSetupCommandLine(const wchar_t* exe, const wchar_t* dir, wchar_t* out,
                            std::size_t capacity) {
    if (out == nullptr || capacity == 0) {
        return false;
    }
    const int n = std::swprintf(out, capacity, L"\"%ls\" /instpath=\"%ls\"", exe, dir);
    if (n < 0 || static_cast<std::size_t>(n) >= capacity) {
        out[0] = L'\0';
        return false;
    }
    return true;
}

SetupLaunch ExtractAndRunSetup(const wchar_t* installDir, HMODULE module,
                               const FolderNameSource& names) {
    SetupLaunch result;
    if (installDir == nullptr || installDir[0] == L'\0') {
        result.error = SetupLaunchError::kNoInstallDir;
        return result;
    }
    PayloadBytes payload;
    if (!FindPayload(module, payload)) {
        result.error = SetupLaunchError::kPayloadMissing;
        return result;
    }
    PathBuffer temp = {};
    if (!SetupTempParent(temp, kPathChars) || !result.folder.Create(temp, names) ||
        !result.folder.WriteProgram(payload.data, payload.size)) {
        result.folder.Remove();
        result.error = SetupLaunchError::kPayloadNotWritten;
        return result;
    }
    const wchar_t* exe = result.folder.ProgramPath();
    wchar_t commandLine[kSetupCommandLineChars] = {};
    if (!FormatSetupCommandLine(exe, installDir, commandLine, kSetupCommandLineChars)) {
        result.folder.Remove();
        result.error = SetupLaunchError::kNotStarted;
        return result;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // The full path as the application name too: nothing is searched for.
    if (!::CreateProcessW(exe, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        result.folder.Remove();
        result.error = SetupLaunchError::kNotStarted;
        return result;
    }
    ::CloseHandle(info.hThread);
    result.process.Reset(info.hProcess);
    result.folder.WatchProcess(info.hProcess);
    return result;
}

}  // namespace velora
