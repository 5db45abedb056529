#include "app/install_location.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>

#include "base/win_handles.h"

namespace velora {
namespace {

bool ReadOwnKeyDir(PathBuffer& out) {
    wchar_t key[kPathChars] = {};
    if (std::swprintf(key, kPathChars, kOwnKeyFormat, kProductName) < 0) {
        return false;
    }
    return ReadRegistryPath(HKEY_LOCAL_MACHINE, key, kDirValueName, out);
}

bool ReadOemDir(PathBuffer& out) {
    PathBuffer oem = {};
    if (!ReadRegistryPath(HKEY_LOCAL_MACHINE, kOemKeyPath, kDirValueName, oem)) {
        return false;
    }
    return OemSiblingDir(oem, out);
}

}  // namespace

bool ReadRegistryPath(HKEY root, const wchar_t* subkey, const wchar_t* value, PathBuffer& out) {
    ScopedRegKey key;
    if (::RegOpenKeyExW(root, subkey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) {
        return false;
    }
    // The value may be stored without a terminator (and the type is not
    // trusted): read up to a full buffer into scratch with one spare slot, so
    // the text can always be terminated, then keep it only if it fits.
    wchar_t data[kPathChars + 1] = {};
    DWORD bytes = kPathChars * sizeof(wchar_t);
    if (::RegQueryValueExW(key.Get(), value, nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                           &bytes) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD chars = bytes / sizeof(wchar_t);
    data[chars < kPathChars ? chars : kPathChars] = L'\0';
    if (data[0] == L'\0') {
        return false;
    }
    return CopyBounded(out, data);
}

bool OemSiblingDir(const wchar_t* oemDir, PathBuffer& out) {
    PathBuffer parent = {};
    if (oemDir == nullptr || !CopyBounded(parent, oemDir)) {
        return false;
    }
    const wchar_t* last = ::PathFindFileNameW(parent);
    if (last == parent || std::wcscmp(last, kOemProductFolder) != 0) {
        return false;
    }
    ::PathRemoveFileSpecW(parent);
    return JoinPath(out, parent, kProductName);
}

bool DefaultInstallDir(const wchar_t* programFiles, PathBuffer& out) {
    if (programFiles == nullptr || programFiles[0] == L'\0') {
        return false;
    }
    PathBuffer dir = {};
    return JoinPath(dir, programFiles, kDefaultSubfolder) && AppendBounded(dir, kProductName) &&
           CopyBounded(out, dir);
}

bool ResolveInstallDir(PathBuffer& dir, HWND owner) {
    dir[0] = L'\0';
    if (ReadOwnKeyDir(dir) || ReadOemDir(dir)) {
        return true;
    }
    // The shell writes up to MAX_PATH characters: exactly our buffer.
    PathBuffer programFiles = {};
    if (!::SHGetSpecialFolderPathW(owner, programFiles, CSIDL_PROGRAM_FILES, FALSE)) {
        return false;
    }
    programFiles[kPathChars - 1] = L'\0';
    return DefaultInstallDir(programFiles, dir);
}

bool IsBelowLowSpaceThreshold(std::uint64_t freeBytes) {
    return freeBytes / 1024 / 1024 < kLowSpaceThresholdMiB;
}

bool IsLowDiskSpace(const wchar_t* path) {
    if (path == nullptr || path[0] == L'\0') {
        return false;
    }
    // The drive root: the first three characters, e.g. "C:\".
    wchar_t root[4] = {};
    std::wcsncpy(root, path, 3);
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD totalClusters = 0;
    if (!::GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                             &totalClusters)) {
        return false;
    }
    const std::uint64_t freeBytes =
        static_cast<std::uint64_t>(freeClusters) * bytesPerSector * sectorsPerCluster;
    return IsBelowLowSpaceThreshold(freeBytes);
}

}  // namespace velora
