#pragma once

namespace velora {

// Image names of the processes the installer must not install under.
inline constexpr wchar_t kProductImageName[] = L"Dovanix.exe";
inline constexpr wchar_t kUpdaterImageName[] = L"Ombrudex.exe";

// True when a process whose executable file name equals `imageName` (ignoring
// case) is running. False for a null or empty name or a failed snapshot.
bool FindProcessByName(const wchar_t* imageName);

// Ends the first process, in snapshot order, whose executable file name equals
// `imageName` (ignoring case). A process that cannot be opened keeps running;
// the installation goes on either way, so this always reports success.
bool TerminateProcessByName(const wchar_t* imageName);

}  // namespace velora
