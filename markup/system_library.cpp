#include "markup/system_library.h"

#include <string>

namespace velora {
namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);

template <typename Fn>
Fn KernelFunction(const char* name) {
    return LoadedFunction<Fn>(L"kernel32.dll", name);
}

// The search flags of LoadLibraryExW exist only where AddDllDirectory does
// (Windows 8, or Windows 7 with KB2533623).
bool SupportsSearchFlags() {
    return KernelFunction<FARPROC>("AddDllDirectory") != nullptr;
}

}  // namespace

bool RestrictDllSearchToSystem32() {
    if (SupportsSearchFlags()) {
        const auto setDefault =
            KernelFunction<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
        if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            return true;
        }
    }
    // Older systems: an empty DLL directory at least drops the current folder.
    const auto setDirectory = KernelFunction<SetDllDirectoryFn>("SetDllDirectoryW");
    return setDirectory != nullptr && setDirectory(L"");
}

ScopedModule LoadSystemLibrary(const wchar_t* fileName) {
    if (SupportsSearchFlags()) {
        return ScopedModule(::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    }
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return ScopedModule();
    }
    const std::wstring path = std::wstring(folder, length) + L"\\" + fileName;
    return ScopedModule(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace velora
