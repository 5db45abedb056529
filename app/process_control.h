#pragma once

#include <windows.h>

#include "base/path_buffer.h"

namespace velora {

// Image names of the processes the installer must not install under.
inline constexpr wchar_t kProductImageName[] = L"Dovanix.exe";
inline constexpr wchar_t kUpdaterImageName[] = L"Ombrudex.exe";

// How long, in all, ending processes may take before the installer gives up.
inline constexpr DWORD kEndProcessTimeoutMs = 5000;

// No session is this one: a match left with it finds nothing.
inline constexpr DWORD kNoSession = 0xFFFFFFFF;

// The processes an operation below acts on: those running in `sessionId` whose
// executable file name is `imageName` (ignoring case) and, unless `fullPath` is
// empty, whose image file is `fullPath` (ignoring case and '/' versus '\').
struct ProcessMatch {
    const wchar_t* imageName = nullptr;
    PathBuffer fullPath = {};
    DWORD sessionId = kNoSession;
};

// `imageName` anywhere in the installer's own session.
ProcessMatch MatchByName(const wchar_t* imageName);
// The product installed in `installDir` (its Program\Dovanix.exe) in the
// installer's own session; by name alone when the directory is null or empty
// or the product's path would not fit a path buffer.
ProcessMatch MatchProduct(const wchar_t* installDir);

// True when a matching process runs, counting one by name that cannot be
// opened to look at. False for no image name or a failed snapshot.
bool AnyRunning(const ProcessMatch& match);

// How EndAll ends one process; tests put in stand-ins.
using TerminateFunction = BOOL(WINAPI*)(HANDLE process, UINT exitCode);

// Ends every matching process and waits for them to exit, `timeoutMs` in all.
// True only when none remains: false when one could not be opened to end it,
// did not exit in time, or the processes could not be listed.
bool EndAll(const ProcessMatch& match, DWORD timeoutMs,
            TerminateFunction terminate = &::TerminateProcess);

// AnyRunning(MatchByName(imageName)).
bool FindProcessByName(const wchar_t* imageName);
// EndAll(MatchByName(imageName), kEndProcessTimeoutMs).
bool TerminateProcessByName(const wchar_t* imageName);

}  // namespace velora
