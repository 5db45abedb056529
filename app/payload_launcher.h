#pragma once

#include <windows.h>

#include <cstddef>

#include "base/win_handles.h"

namespace velora {

// The product's setup program travels as this resource of the installer.
inline constexpr WORD kPayloadResourceId = 9527;
inline constexpr wchar_t kPayloadResourceType[] = L"EXE";
inline constexpr wchar_t kPayloadTempPrefix[] = L"velora_";
inline constexpr UINT kPayloadTempUnique = 16;
inline constexpr std::size_t kSetupCommandLineChars = 1024;

enum class SetupLaunchError {
    kNone,
    kNoInstallDir,
    kPayloadMissing,     // no "EXE" resource, or an empty one
    kPayloadNotWritten,  // no temp folder, or the file could not be written
    kNotStarted,         // CreateProcess failed
};

struct SetupLaunch {
    ScopedHandle process;  // the running setup program, when error is kNone
    SetupLaunchError error = SetupLaunchError::kNone;
};

// Writes the setup program carried by `module` (null: this executable) to a
// file in the temporary folder and starts it with `installDir`.
SetupLaunch ExtractAndRunSetup(const wchar_t* installDir, HMODULE module = nullptr);

// `"<exe>" /instpath="<dir>"`. The program path is quoted so that a temporary
// folder with spaces cannot make Windows start a prefix of it instead. False
// (and `out` empty) when the result does not fit.
bool FormatSetupCommandLine(const wchar_t* exe, const wchar_t* dir, wchar_t* out,
                            std::size_t capacity);

// Where ExtractAndRunSetup writes the program: a fixed name in the temp folder.
bool SetupTempFilePath(wchar_t* out, std::size_t capacity);

}  // namespace velora
