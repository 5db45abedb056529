#include "app/process_control.h"

#include <windows.h>
#include <tlhelp32.h>

#include <functional>
#include <utility>
#include <vector>

#include "app/post_install.h"
#include "base/win_handles.h"

namespace velora {
namespace {

// Enough to look at a process and to wait for it.
constexpr DWORD kQueryAccess = PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE;
constexpr DWORD kEndAccess = kQueryAccess | PROCESS_TERMINATE;

enum class Verdict { kOther, kMatch, kUnreachable };

// Calls `visit` with each process entry until it returns true. False when the
// snapshot could not be taken.
bool ForEachProcess(const std::function<bool(const PROCESSENTRY32W&)>& visit) {
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return false;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (visit(entry)) {
            break;
        }
    }
    return true;
}

bool IsEmpty(const wchar_t* text) {
    return text == nullptr || text[0] == L'\0';
}

bool EqualIgnoringCase(const wchar_t* a, const wchar_t* b) {
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

bool HasImageName(const PROCESSENTRY32W& entry, const wchar_t* imageName) {
    // The snapshot's name is terminated within its array; make sure of it.
    PathBuffer name = {};
    lstrcpynW(name, entry.szExeFile, kPathChars);
    return EqualIgnoringCase(name, imageName);
}

bool RunsInSession(DWORD processId, DWORD sessionId) {
    DWORD session = kNoSession;
    return ProcessIdToSessionId(processId, &session) && session == sessionId;
}

bool HasImagePath(HANDLE process, const wchar_t* fullPath) {
    PathBuffer image = {};
    DWORD chars = kPathChars;
    // An image path too long for the buffer cannot equal one that fits it.
    if (!QueryFullProcessImageNameW(process, 0, image, &chars)) {
        return false;
    }
    for (DWORD i = 0; i < chars; ++i) {
        if (image[i] == L'/') {
            image[i] = L'\\';
        }
    }
    return EqualIgnoringCase(image, fullPath);
}

// Whether the process of `entry` is one `match` names. On kMatch `process` holds
// it opened with `access`; kUnreachable is a match that could not be opened so.
Verdict Examine(const PROCESSENTRY32W& entry, const ProcessMatch& match, DWORD access,
                ScopedHandle& process) {
    const DWORD id = entry.th32ProcessID;
    if (!HasImageName(entry, match.imageName) || !RunsInSession(id, match.sessionId)) {
        return Verdict::kOther;
    }
    process.Reset(OpenProcess(access, FALSE, id));
    const bool reachable = process.IsValid();
    if (!reachable) {
        process.Reset(OpenProcess(kQueryAccess, FALSE, id));
    }
    if (!process) {
        // Its image cannot be told; by name alone it is one we cannot end.
        return match.fullPath[0] == L'\0' ? Verdict::kUnreachable : Verdict::kOther;
    }
    // The open handle keeps the id from passing to another process, so asking
    // again now is about this very one.
    if (!RunsInSession(id, match.sessionId) ||
        WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0 ||
        (match.fullPath[0] != L'\0' && !HasImagePath(process.Get(), match.fullPath))) {
        return Verdict::kOther;
    }
    return reachable ? Verdict::kMatch : Verdict::kUnreachable;
}

DWORD OwnSession() {
    DWORD session = kNoSession;
    return ProcessIdToSessionId(GetCurrentProcessId(), &session) ? session : kNoSession;
}

}  // namespace

ProcessMatch MatchByName(const wchar_t* imageName) {
    ProcessMatch match;
    match.imageName = imageName;
    match.sessionId = OwnSession();
    return match;
}

ProcessMatch MatchProduct(const wchar_t* installDir) {
    ProcessMatch match = MatchByName(kProductImageName);
    PathBuffer joined = {};
    if (IsEmpty(installDir) || !JoinPath(joined, installDir, kProductRelativePath)) {
        return match;
    }
    // The image path the system reports is full and uses '\' only.
    const DWORD chars = GetFullPathNameW(joined, kPathChars, match.fullPath, nullptr);
    if (chars == 0 || chars >= kPathChars) {
        match.fullPath[0] = L'\0';
    }
    return match;
}

bool AnyRunning(const ProcessMatch& match) {
    if (IsEmpty(match.imageName)) {
        return false;
    }
    bool found = false;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        ScopedHandle process;
        found = Examine(entry, match, kQueryAccess, process) != Verdict::kOther;
        return found;
    });
    return found;
}

bool EndAll(const ProcessMatch& match, DWORD timeoutMs, TerminateFunction terminate) {
    if (IsEmpty(match.imageName)) {
        return true;
    }
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    std::vector<ScopedHandle> ending;
    bool allReached = true;
    const bool listed = ForEachProcess([&](const PROCESSENTRY32W& entry) {
        ScopedHandle process;
        switch (Examine(entry, match, kEndAccess, process)) {
            case Verdict::kMatch:
                // One already on its way out refuses; the wait tells either way.
                terminate(process.Get(), 0);
                ending.push_back(std::move(process));
                break;
            case Verdict::kUnreachable:
                allReached = false;
                break;
            case Verdict::kOther:
                break;
        }
        return false;
    });
    if (!listed || !allReached) {
        return false;
    }
    for (const ScopedHandle& process : ending) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(process.Get(), left) != WAIT_OBJECT_0) {
            return false;
        }
    }
    // One started meanwhile would hold the files just the same.
    return !AnyRunning(match);
}

bool FindProcessByName(const wchar_t* imageName) {
    return AnyRunning(MatchByName(imageName));
}

bool TerminateProcessByName(const wchar_t* imageName) {
    return EndAll(MatchByName(imageName), kEndProcessTimeoutMs);
}

}  // namespace velora
