#include "app/final_path.h"

#include <cwchar>

namespace velora {

bool FinalPath(HANDLE handle, FinalPathBuffer& out) {
    const DWORD length = ::GetFinalPathNameByHandleW(handle, out, kFinalPathChars,
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length > 0 && length < kFinalPathChars;
}

bool SamePath(const wchar_t* a, const wchar_t* b) {
    return ::CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

bool LiesIn(HANDLE child, const wchar_t* parentFinal, const wchar_t* name) {
    FinalPathBuffer expected;
    FinalPathBuffer actual;
    return JoinPath(expected, parentFinal, name) && FinalPath(child, actual) &&
           SamePath(expected, actual);
}

bool IsReachedWithoutLinks(HANDLE folder, const wchar_t* path) {
    // The long form of the path as named, beside where the folder really is.
    FinalPathBuffer named = {};
    FinalPathBuffer actual = {};
    const DWORD length = ::GetLongPathNameW(path, named, kFinalPathChars);
    if (length == 0 || length >= kFinalPathChars || !FinalPath(folder, actual)) {
        return false;
    }
    const wchar_t* real = actual;
    if (std::wcsncmp(real, L"\\\\?\\", 4) == 0 && real[5] == L':') {
        real += 4;  // "\\?\C:\..." names a drive path; other forms never match one
    }
    // One trailing separator is no difference ("C:\Temp\" is "C:\Temp").
    std::size_t end = std::wcslen(named);
    if (end > 3 && named[end - 1] == L'\\') {
        named[end - 1] = L'\0';
    }
    return SamePath(named, real);
}

}  // namespace velora
