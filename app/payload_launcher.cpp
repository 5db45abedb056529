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

bool WritePayload(const wchar_t* path, const PayloadBytes& payload) {
    ScopedHandle file(::CreateFileW(path, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, 0,
                                    nullptr));
    if (!file) {
        return false;
    }
    // Straight from the mapped resource; a short write means a broken program.
    DWORD written = 0;
    return ::WriteFile(file.Get(), payload.data, payload.size, &written, nullptr) &&
           written == payload.size;
}

}  // namespace

bool SetupTempFilePath(wchar_t* out, std::size_t capacity) {
    if (out == nullptr || capacity < kPathChars) {
        return false;
    }
    PathBuffer folder = {};
    const DWORD len = ::GetTempPathW(kPathChars, folder);
    if (len == 0 || len >= kPathChars || !AppendSeparator(folder) || folder[0] == L'\0') {
        return false;
    }
    // With a non-zero unique number the name is only composed, never created.
    return ::GetTempFileNameW(folder, kPayloadTempPrefix, kPayloadTempUnique, out) != 0;
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

SetupLaunch ExtractAndRunSetup(const wchar_t* installDir, HMODULE module) {
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
    PathBuffer exe = {};
    if (!SetupTempFilePath(exe, kPathChars) || !WritePayload(exe, payload)) {
        result.error = SetupLaunchError::kPayloadNotWritten;
        return result;
    }
    wchar_t commandLine[kSetupCommandLineChars] = {};
    if (!FormatSetupCommandLine(exe, installDir, commandLine, kSetupCommandLineChars)) {
        result.error = SetupLaunchError::kNotStarted;
        return result;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        result.error = SetupLaunchError::kNotStarted;
        return result;
    }
    ::CloseHandle(info.hThread);
    result.process.Reset(info.hProcess);
    return result;
}

}  // namespace velora
