#pragma once

#include "base/gdi_scopes.h"

namespace velora {

// Makes System32 the only folder the loader searches for DLLs this process
// loads later, so the program's own folder (often Downloads) and the current
// folder cannot supply one. Call first thing in the process. Where the system
// lacks SetDefaultDllDirectories, only the current folder is taken out of the
// search. False when neither could be changed.
bool RestrictDllSearchToSystem32();

// Loads a DLL from the System32 folder only, so a copy planted beside the
// program or in the current folder is never picked up. Null when missing.
ScopedModule LoadSystemLibrary(const wchar_t* fileName);

}  // namespace velora
