// Demo setup program carried by the installer. It installs the demo product into
// the directory given with /instpath and reports progress the way the real
// product setup does: percentage at offset 0 of the shared mapping, then the event.
//
// Exit codes: 0 installed, 1 no /instpath, 2 the product could not be laid down,
// 3 VELORA_DEMO_FAULT names no known fault.
// VELORA_DEMO_PACE_MS (inherited from the installer) sets the whole run's
// duration in milliseconds; 0 runs at full speed for tests.
//
// VELORA_DEMO_FAULT (also inherited) makes the program misbehave on purpose, so
// tests can show what the installer does with a faulty setup program. Progress
// goes in 5 % steps; unset or empty is a normal run.
//   exit-at-once      ends with 0 at once: nothing installed, nothing reported
//   exit-code:N       installs half-way, reports up to 50 and ends with N
//   crash-at:P        installs until it has reported P (0..100, or the first step
//                     past it), then dies of a real access violation: the process
//                     ends with 0xC0000005, without a crash dialog
//   silent            installs everything, never reports, ends with 0
//   report:A,B,...    installs everything without the usual reports, then
//                     reports exactly A, B, ... (integers of any value, at most 8,
//                     one step apart) and ends with 0
//   report-100-twice  a normal run, then 100 once more 300 ms later; ends with 0
#include <windows.h>

#include <cwchar>
#include <cstdlib>

#include "app/install_location.h"
#include "app/progress_channel.h"
#include "base/path_buffer.h"
#include "base/win_handles.h"
#include "payload/setup/command_line.h"
#include "payload/setup/fault_mode.h"

namespace {

using demo_setup::FaultKind;
using demo_setup::FaultMode;
using velora::PathBuffer;

constexpr DWORD kDefaultPaceMs = 3000;
constexpr int kSteps = 20;
constexpr WORD kProductResourceId = 1;
const wchar_t kProductResourceType[] = L"PRODUCT";

// Far enough apart that the installer sees two reports, not one.
constexpr DWORD kRepeatGapMs = 300;

enum ExitCode { kInstalled = 0, kUsage = 1, kInstallFailed = 2, kUnknownFault = 3 };

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

bool ReadFaultMode(FaultMode& fault) {
    wchar_t text[128] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"VELORA_DEMO_FAULT", text, 128);
    if (n >= 128) {
        return false;
    }
    return demo_setup::ParseFaultMode(n == 0 ? L"" : text, fault);
}

LONG WINAPI EndWithExceptionCode(EXCEPTION_POINTERS*) {
    return EXCEPTION_EXECUTE_HANDLER;
}

// Dies the way a faulty program does: a write through a null pointer the
// compiler cannot see coming. The process ends with the exception code, and
// no crash dialog or debugger waits for someone to close it.
[[noreturn]] void Crash() {
    ::SetErrorMode(::GetErrorMode() | SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(&EndWithExceptionCode);
    auto* nowhere = reinterpret_cast<volatile LONG*>(::GetModuleHandleW(L"velora-no-such.dll"));
    *nowhere = 1;
    ::RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    ::ExitProcess(EXCEPTION_ACCESS_VIOLATION);
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

int Install(const wchar_t* dir, const FaultMode& fault) {
    if (fault.kind == FaultKind::kExitAtOnce) {
        return kInstalled;
    }
    ProgressReporter progress;
    const bool usualReports = fault.kind != FaultKind::kSilent && fault.kind != FaultKind::kReports;
    // Reports one step (or dies there); true when the run stops here with
    // the fault's exit code.
    auto reportStep = [&](LONG percent) {
        if (usualReports) {
            progress.Report(percent);
        }
        if (fault.kind == FaultKind::kCrashAt && percent >= fault.crashAt) {
            Crash();
        }
        return fault.kind == FaultKind::kExitCode && percent >= 50;
    };
    const DWORD stepMs = PaceMs() / kSteps;
    if (reportStep(0)) {
        return fault.exitCode;
    }

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
        if (reportStep(step * 100 / kSteps)) {
            return fault.exitCode;
        }
    }
    for (std::size_t i = 0; fault.kind == FaultKind::kReports && i < fault.reportCount; ++i) {
        ::Sleep(stepMs);
        progress.Report(fault.reports[i]);
    }
    if (fault.kind == FaultKind::kReportHundredTwice) {
        ::Sleep(kRepeatGapMs);
        progress.Report(100);
    }
    return kInstalled;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    FaultMode fault;
    if (!ReadFaultMode(fault)) {
        return kUnknownFault;
    }
    PathBuffer dir = {};
    if (!demo_setup::FindInstallPath(::GetCommandLineW(), dir, velora::kPathChars)) {
        return kUsage;
    }
    return Install(dir, fault);
}
