#pragma once

#include <windows.h>

#include "app/command_line.h"
#include "app/payload_launcher.h"
#include "app/progress_channel.h"
#include "base/path_buffer.h"

namespace velora {

inline constexpr wchar_t kInstanceMutexName[] =
    L"VELORA_INSTALL_{5D3C1F72-8B4E-4A09-A6D1-3E7F0B2C9A48}";

// The whole process: start-up, silent or interactive install, teardown.
// Returns the process exit code.
int RunInstaller(HINSTANCE instance);

// Windows XP (5.1) or later, from a GetVersion() value.
bool IsOsSupported(DWORD version);

// Shows the old-system warning; true when the user chooses to install anyway
// (also when the warning cannot be shown).
bool ConfirmOldSystem();

// Takes `requestedDir` (the /D= directory, already accepted) or else resolves
// the directory into `dir`, runs the setup program and waits for it, writing
// its progress to the install log. Returns 0 only when the setup program ran
// and exited 0. Nothing is started when `progress` is taken (somebody else
// made its objects first).
int RunSilentInstall(PathBuffer& dir, const ProgressChannel& progress,
                     const wchar_t* requestedDir = nullptr, HMODULE payloadModule = nullptr);

}  // namespace velora
