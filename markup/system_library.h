#pragma once

#include <windows.h>

#include "base/gdi_scopes.h"

namespace velora {

// Makes System32 the only folder the loader searches for DLLs this process
// loads later, so the program's own folder (often Downloads) and the current
// folder cannot supply one. Call first thing in the process. Where the system
// lacks SetDefaultDllDirectories, only the current folder is taken out of the
// search. False when neither could be changed.
bool RestrictDllSearchToSystem32();

// A function of a DLL the process has loaded already (kernel32, user32),
// resolved at run time because the system may lack it: a static import of a
// missing function would stop the program from starting at all. Null when
// the DLL or the function is missing. `Fn` is a WINAPI function pointer type.
template <typename Fn>
Fn LoadedFunction(const wchar_t* module, const char* name) {
    HMODULE loaded = ::GetModuleHandleW(module);
    return loaded != nullptr
               ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(loaded, name)))
               : nullptr;
}

// Loads a DLL from the System32 folder only, so a copy planted beside the
// program or in the current folder is never picked up. Null when missing.
ScopedModule LoadSystemLibrary(const wchar_t* fileName);

}  // namespace velora
