#pragma once

#include <windows.h>

#include <functional>

#include "base/win_handles.h"

namespace velora {

// Below the install directory: the channel record and the product.
inline constexpr wchar_t kProfilesFolder[] = L"Profiles";
inline constexpr wchar_t kChannelFileName[] = L"channel.dat";
inline constexpr wchar_t kProductRelativePath[] = L"Program\\Dovanix.exe";
// Per-user log-on start entry.
inline constexpr wchar_t kRunKeyPath[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValueName[] = L"Velora";
// Medium integrity: what a normal, non-elevated program runs with.
inline constexpr wchar_t kMediumIntegritySid[] = L"S-1-16-8192";

// True when <dir>\Program\Dovanix.exe is there as a file.
bool IsProductInstalled(const wchar_t* installDir);

// Records the distribution channel: writes the installer's own file name (ANSI
// bytes, nothing else) to <dir>\Profiles\channel.dat, creating the folder.
// The install directory may be writable by anyone, so nothing is written
// through a junction, symbolic link or hard link planted there: when Profiles
// or channel.dat is one, the file is skipped. Returns whether it was written
// (logged either way).
bool WriteChannelFile(const wchar_t* installDir);

// Registers "<dir>\Program\Dovanix.exe" (quoted: the value is a command line)
// to start at log-on for this user, when that file exists. Returns whether it
// was written (logged either way); never removes an existing entry.
bool SetAutoStart(const wchar_t* installDir);

// What a launch route is asked to start.
struct LaunchRequest {
    const wchar_t* path;         // the program
    const wchar_t* arguments;    // its argument text
    const wchar_t* commandLine;  // "<path>" <arguments>
    const wchar_t* folder;       // the program's folder, to start it in (may be empty)
};

// One way of starting a program without the installer's rights; returns
// whether it was started.
using LaunchRoute = std::function<bool(const LaunchRequest&)>;

// Asks the desktop's shell (Explorer) to start the program: it then runs as
// the signed-in user with their ordinary token, as if started from the Start
// menu. The calling thread must have initialised COM. The shell starts it on
// its own, so success means the shell accepted the request.
bool LaunchThroughShell(const LaunchRequest& request);

// Starts the program with a copy of the installer's token lowered to medium
// integrity. It keeps the installer's groups and privileges: a last resort
// for when there is no shell to ask.
bool LaunchWithMediumToken(const LaunchRequest& request);

// A primary token like the caller's, lowered to medium integrity; empty on
// failure.
ScopedHandle MakeMediumIntegrityToken();

// The routes tried in turn; an empty route is skipped.
struct LaunchRoutes {
    LaunchRoute shell = LaunchThroughShell;
    LaunchRoute token = LaunchWithMediumToken;
};

// Starts <dir>\Program\Dovanix.exe de-elevated with the argument text " ".
// Nothing happens for an empty directory. Returns whether a process started.
bool LaunchInstalledProduct(const wchar_t* installDir, const LaunchRoutes& routes = {});

// Starts `path` with `arguments` in the program's folder, through the shell
// and, failing that, with the medium-integrity token. It never falls back to
// the installer's own, elevated rights: not starting is better, the user can
// start it from the Start menu. The path is quoted on the command line and also
// given as the application name, so a path with spaces cannot start some
// other program; a command line that would not fit is refused. Returns
// whether a process started.
bool LaunchDeElevated(const wchar_t* path, const wchar_t* arguments,
                      const LaunchRoutes& routes = {});

}  // namespace velora
