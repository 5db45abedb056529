// Writes the setup program an installer carries (resource "EXE" 9527) to a
// file, for the packaging tests: payload_dump.exe INSTALLER OUT
#include <windows.h>

#include "app/payload_launcher.h"
#include "base/win_handles.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    HMODULE module = ::LoadLibraryExW(argv[1], nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        return 1;
    }
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(velora::kPayloadResourceId),
                                 velora::kPayloadResourceType);
    HGLOBAL loaded = info != nullptr ? ::LoadResource(module, info) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return 1;
    }
    velora::ScopedHandle out(::CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const DWORD size = ::SizeofResource(module, info);
    return out && ::WriteFile(out.Get(), bytes, size, &written, nullptr) && written == size ? 0 : 1;
}
