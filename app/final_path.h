#pragma once

#include <windows.h>

#include <cstddef>

#include "base/path_buffer.h"

namespace velora {

// The system's full names of files (GetFinalPathNameByHandleW) carry a "\\?\"
// prefix and long names, so they may outgrow a PathBuffer.
inline constexpr std::size_t kFinalPathChars = 2 * kPathChars;
using FinalPathBuffer = wchar_t[kFinalPathChars];

// Where `handle` really is, links resolved.
bool FinalPath(HANDLE handle, FinalPathBuffer& out);

// Paths compared the way the file system does (ordinal, ignoring case).
bool SamePath(const wchar_t* a, const wchar_t* b);

// True when the final path of `child` is `parentFinal` plus `name`: the object
// lies right inside that folder, not somewhere a link leads to.
bool LiesIn(HANDLE child, const wchar_t* parentFinal, const wchar_t* name);

// True when the folder open as `folder` is reached by `path` itself: no
// junction or symbolic link anywhere on the way (short names allowed).
bool IsReachedWithoutLinks(HANDLE folder, const wchar_t* path);

}  // namespace velora
