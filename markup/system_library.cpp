#include "markup/system_library.h"

#include <string>

namespace velora {
namespace {

// The search flags of LoadLibraryExW exist only where AddDllDirectory does
// (Windows 8, or Windows 7 with KB2533623).
bool SupportsSearchFlags() {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr && ::GetProcAddress(kernel, "AddDllDirectory") != nullptr;
}

}  // namespace

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
