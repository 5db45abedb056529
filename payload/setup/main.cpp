// Demo setup program carried by the installer. It installs the demo product into
// the directory given with /instpath and reports progress the way the real
// product setup does: percentage at offset 0 of the shared mapping, then the event.
//
// Exit codes: 0 installed, 1 no /instpath, 2 the product could not be laid down.
// VELORA_DEMO_PACE_MS (inherited from the installer) sets the whole run's
// duration in milliseconds; 0 runs at full speed for tests.
#include <windows.h>

#include <cwchar>
#include <cstdlib>

#include "app/install_location.h"
#include "app/progress_channel.h"
#include "base/path_buffer.h"
#include "base/win_handles.h"
#include "payload/setup/command_line.h"

namespace {

using velora::PathBuffer;

constexpr DWORD kDefaultPaceMs = 3000;
constexpr int kSteps = 20;
constexpr WORD kProductResourceId = 1;
const wchar_t kProductResourceType[] = L"PRODUCT";

enum ExitCode { kInstalled = 0, kUsage = 1, kInstallFailed = 2 };

DWORD PaceMs() {
    wchar_t value[32] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"VELORA_DEMO_PACE_MS", value, 32);
    if (n == 0 || n >= 32) {
        return kDefaultPaceMs;
    }
    wchar_t* end = nullptr;
    const unsigned long ms = std::wcstoul(value, &end, 10);
    return (end == value || ms > 600000) ? kDefaultPaceMs : static_cast<DWORD>(ms);
}

class ProgressReporter {
  public:
    ProgressReporter()
        : mapping_(::OpenFileMappingW(FILE_MAP_WRITE, FALSE, velora::kProgressMappingName)),
          view_(mapping_ ? ::MapViewOfFile(mapping_.Get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG))
                         : nullptr),
          event_(::OpenEventW(EVENT_MODIFY_STATE, FALSE, velora::kProgressEventName)) {}

    void Report(LONG percent) {
        if (view_) {
            ::InterlockedExchange(static_cast<volatile LONG*>(view_.Get()), percent);
        }
        if (event_) {
            ::SetEvent(event_.Get());
        }
    }

  private:
    velora::ScopedHandle mapping_;
    velora::ScopedMappedView view_;
    velora::ScopedHandle event_;
};

// Creates every missing folder along `path`.
bool CreateFolderTree(const wchar_t* path) {
    PathBuffer partial = {};
    const std::size_t len = velora::BoundedLength(path, velora::kPathChars);
    if (len == 0 || len >= velora::kPathChars) {
        return false;
    }
    for (std::size_t i = 0; i <= len; ++i) {
        const bool boundary = path[i] == L'\\' || path[i] == L'/' || path[i] == L'\0';
        if (boundary && i > 0 && path[i - 1] != L':' && path[i - 1] != L'\\') {
            std::wmemcpy(partial, path, i);
            partial[i] = L'\0';
            // Failures along the way (existing folders, a share's root) are
            // judged only by whether the whole path exists at the end.
            ::CreateDirectoryW(partial, nullptr);
        }
    }
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteProduct(const wchar_t* exePath) {
    HRSRC info =
        ::FindResourceW(nullptr, MAKEINTRESOURCEW(kProductResourceId), kProductResourceType);
    const DWORD size = info ? ::SizeofResource(nullptr, info) : 0;
    HGLOBAL loaded = size ? ::LoadResource(nullptr, info) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return false;
    }
    velora::ScopedHandle file(::CreateFileW(exePath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), bytes, size, &written, nullptr) && written == size;
}

// Lets the next installer find this installation.
void RememberInstallDir(const wchar_t* dir) {
    wchar_t key[velora::kPathChars] = {};
    std::swprintf(key, velora::kPathChars, velora::kOwnKeyFormat, velora::kProductName);
    velora::ScopedRegKey handle;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE, nullptr,
                          handle.Receive(), nullptr) != ERROR_SUCCESS) {
        return;
    }
    const DWORD bytes = static_cast<DWORD>((std::wcslen(dir) + 1) * sizeof(wchar_t));
    ::RegSetValueExW(handle.Get(), velora::kDirValueName, 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(dir), bytes);
}

int Install(const wchar_t* dir) {
    ProgressReporter progress;
    const DWORD stepMs = PaceMs() / kSteps;
    progress.Report(0);

    PathBuffer programDir = {};
    PathBuffer profilesDir = {};
    PathBuffer exePath = {};
    if (!velora::JoinPath(programDir, dir, L"Program") ||
        !velora::JoinPath(profilesDir, dir, L"Profiles") ||
        !velora::JoinPath(exePath, programDir, L"Dovanix.exe")) {
        return kInstallFailed;
    }
    for (int step = 1; step <= kSteps; ++step) {
        ::Sleep(stepMs);
        if (step == 2 && !CreateFolderTree(programDir)) {
            return kInstallFailed;
        }
        if (step == 4 && !CreateFolderTree(profilesDir)) {
            return kInstallFailed;
        }
        if (step == 8 && !WriteProduct(exePath)) {
            return kInstallFailed;
        }
        if (step == kSteps) {
            RememberInstallDir(dir);
        }
        progress.Report(step * 100 / kSteps);
    }
    return kInstalled;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    PathBuffer dir = {};
    if (!demo_setup::FindInstallPath(::GetCommandLineW(), dir, velora::kPathChars)) {
        return kUsage;
    }
    return Install(dir);
}
