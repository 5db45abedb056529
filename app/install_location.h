#pragma once

#include <windows.h>

#include <cstdint>

#include "base/path_buffer.h"

namespace velora {

inline constexpr wchar_t kProductName[] = L"Velora";
// Registry keys under HKEY_LOCAL_MACHINE that may name the install directory.
inline constexpr wchar_t kOwnKeyFormat[] = L"SOFTWARE\\Corvane Network\\%ls";
inline constexpr wchar_t kOemKeyPath[] = L"SOFTWARE\\Corvane Network\\CorvaneOem\\corvane_backwnd";
inline constexpr wchar_t kDirValueName[] = L"dir";
// The maker's main product folder; Velora goes into a sibling folder.
inline constexpr wchar_t kOemProductFolder[] = L"Corvane";
inline constexpr wchar_t kDefaultSubfolder[] = L"Corvane Network\\";

// Below this many MiB free, the install drive counts as low on space.
inline constexpr std::uint64_t kLowSpaceThresholdMiB = 100;

// Where an install directory came from.
enum class InstallDirSource { kNone, kCommandLine, kOwnKey, kOemKey, kDefault, kChosen };

// Finds the install directory: the product's own registry key, then the OEM
// key's sibling rule, then Program Files\Corvane Network\Velora. `owner` is
// the window for the shell call (may be null). Returns false and leaves `dir`
// empty when no step yields a directory. `source`, when given, tells which
// step gave it (kNone on failure).
bool ResolveInstallDir(PathBuffer& dir, HWND owner, InstallDirSource* source = nullptr);

// Takes a directory from a source others can write (a registry value, the
// command line): trailing separators removed, then kept only when it fits a
// path buffer and IsAcceptableInstallDir holds. False leaves `out` untouched.
bool AcceptInstallDir(const wchar_t* value, PathBuffer& out);

// A short English name of a source, for the install log.
const wchar_t* InstallDirSourceName(InstallDirSource source);

// True for an absolute drive path ("X:\..."), the only kind of install
// directory taken from a source others can write: no UNC or device path
// ("\\server", "\\?\", "\\.\"), no relative path, no "." or ".." component,
// no character Windows refuses in a name (a quote would end the setup
// program's argument early).
bool IsAcceptableInstallDir(const wchar_t* dir);

// Removes trailing separators, but keeps the one of a drive root ("X:\").
void StripTrailingSeparators(wchar_t* dir);

// Reads a registry value as a wide string into `out`. The result is always
// terminated; a value that does not fit (or is empty) counts as unreadable.
bool ReadRegistryPath(HKEY root, const wchar_t* subkey, const wchar_t* value, PathBuffer& out);

// "X:\...\Corvane" (exact case) -> "X:\...\Velora". False for anything else,
// including a value ending in a separator or without any separator.
bool OemSiblingDir(const wchar_t* oemDir, PathBuffer& out);

// programFiles + "\Corvane Network\Velora".
bool DefaultInstallDir(const wchar_t* programFiles, PathBuffer& out);

// True when the drive holding `path` has less than 100 MiB free. An empty path
// or a failed query is never low.
bool IsLowDiskSpace(const wchar_t* path);
bool IsBelowLowSpaceThreshold(std::uint64_t freeBytes);

}  // namespace velora
