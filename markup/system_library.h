#pragma once

#include "base/gdi_scopes.h"

namespace velora {

// Loads a DLL from the System32 folder only, so a copy planted beside the
// program or in the current folder is never picked up. Null when missing.
ScopedModule LoadSystemLibrary(const wchar_t* fileName);

}  // namespace velora
