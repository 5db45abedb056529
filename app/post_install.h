#pragma once

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

// Records the distribution channel: writes the installer's own file name (ANSI
// bytes, nothing else) to <dir>\Profiles\channel.dat, creating the folder.
// The install directory may be writable by anyone, so nothing is written
// through a junction, symbolic link or hard link planted there: when Profiles
// or channel.dat is one, the file is skipped. Fails quietly.
void WriteChannelFile(const wchar_t* installDir);

// Registers "<dir>\Program\Dovanix.exe" (quoted: the value is a command line)
// to start at log-on for this user, when that file exists. Fails quietly;
// never removes an existing entry.
void SetAutoStart(const wchar_t* installDir);

// Starts <dir>\Program\Dovanix.exe de-elevated with the argument text " ".
// Nothing happens for an empty directory. Returns whether a process started.
bool LaunchInstalledProduct(const wchar_t* installDir);

// Starts `path` with `arguments` at medium integrity; where that cannot be
// arranged, with the installer's own rights. The path is quoted on the command
// line and also given as the application name, so a path with spaces cannot
// start some other program. Returns whether a process started.
bool LaunchDeElevated(const wchar_t* path, const wchar_t* arguments);

}  // namespace velora
