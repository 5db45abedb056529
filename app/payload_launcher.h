#pragma once

#include <windows.h>

#include <cstddef>

#include "app/setup_folder.h"
#include "base/win_handles.h"

namespace velora {

// The product's setup program travels as this resource of the installer.
inline constexpr WORD kPayloadResourceId = 9527;
inline constexpr wchar_t kPayloadResourceType[] = L"EXE";
inline constexpr std::size_t kSetupCommandLineChars = 1024;

enum class SetupLaunchError {
    kNone,
    kNoInstallDir,
    kPayloadMissing,     // no "EXE" resource, or an empty one
    kPayloadNotWritten,  // no temp folder, or the folder or file could not be made
    kNotStarted,         // CreateProcess failed
};

// The installer's exit code for a setup program that could not be started.
int ExitCodeForLaunchError(SetupLaunchError error);

struct SetupLaunch {
    ScopedHandle process;  // the running setup program, when error is kNone
    SetupLaunchError error = SetupLaunchError::kNone;
    // Where the program was written. Whoever waits for the program keeps the
    // launch until it has ended; the folder goes with the launch.
    SetupFolder folder{};
};

// Writes the setup program carried by `module` (null: this executable) into
// a new folder of its own below `parent` (null: SetupTempParent), named by
// `names`, and starts it with `installDir`, in that folder.
SetupLaunch ExtractAndRunSetup(const wchar_t* installDir, HMODULE module = nullptr,
                               const FolderNameSource& names = RandomSetupFolderName,
                               const wchar_t* parent = nullptr);

// `"<exe>" /instpath="<dir>"`. The program path is quoted so that a temporary
// folder with spaces cannot make Windows start a prefix of it instead. False
// (and `out` empty) when the result does not fit.
bool FormatSetupCommandLine(const wchar_t* exe, const wchar_t* dir, wchar_t* out,
                            std::size_t capacity);

// Where ExtractAndRunSetup makes the program's folder. Elevated: the
// system's temporary folder (<Windows>\Temp, from the system, never from the
// environment, which the user controls). Otherwise the user's own.
enum class Elevation { kElevated, kNotElevated };
bool SetupTempParent(wchar_t* out, std::size_t capacity, Elevation elevation);
bool SetupTempParent(wchar_t* out, std::size_t capacity);

}  // namespace velora
