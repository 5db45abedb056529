#pragma once

#include <windows.h>

#include "app/payload_launcher.h"
#include "app/progress_channel.h"
#include "base/path_buffer.h"

namespace velora {

inline constexpr wchar_t kInstanceMutexName[] =
    L"VELORA_INSTALL_{5D3C1F72-8B4E-4A09-A6D1-3E7F0B2C9A48}";

// The whole process: start-up, silent or interactive install, teardown.
// Returns the process exit code.
int RunInstaller(HINSTANCE instance);

// True when any argument (the program path included) is exactly "/s" in
// either case. An unsplittable command line has no arguments.
bool HasSilentSwitch(const wchar_t* commandLine);

// Windows XP (5.1) or later, from a GetVersion() value.
bool IsOsSupported(DWORD version);

// Shows the old-system warning; true when the user chooses to install anyway
// (also when the warning cannot be shown).
bool ConfirmOldSystem();

// Resolves the directory into `dir`, runs the setup program and waits for it.
// Returns 0 only when the setup program ran and exited 0. Nothing is started
// when `progress` is taken (somebody else made its objects first).
int RunSilentInstall(PathBuffer& dir, const ProgressChannel& progress,
                     HMODULE payloadModule = nullptr);

}  // namespace velora
