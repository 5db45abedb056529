#include "app/install_location.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>

#include "base/win_handles.h"
#include "base/bounded_format.h"

namespace velora {
namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// A registry value that is not an acceptable directory is ignored, so the
// next source is tried.
bool ReadAcceptableDir(const wchar_t* key, PathBuffer& out) {
    PathBuffer dir = {};
    return ReadRegistryPath(HKEY_LOCAL_MACHINE, key, kDirValueName, dir) &&
           AcceptInstallDir(dir, out);
}

bool ReadOwnKeyDir(PathBuffer& out) {
    wchar_t key[kPathChars] = {};
    if (FormatBounded(key, kPathChars, kOwnKeyFormat, kProductName) < 0) {
        return false;
    }
    return ReadAcceptableDir(key, out);
}

bool ReadOemDir(PathBuffer& out) {
    PathBuffer oem = {};
    // Read as stored: a value ending in a separator has no last component
    // and so names no product folder.
    if (!ReadRegistryPath(HKEY_LOCAL_MACHINE, kOemKeyPath, kDirValueName, oem) ||
        !IsAcceptableInstallDir(oem)) {
        return false;
    }
    return OemSiblingDir(oem, out);
}

}  // namespace

bool AcceptInstallDir(const wchar_t* value, PathBuffer& out) {
    PathBuffer dir = {};
    if (value == nullptr || !CopyBounded(dir, value)) {
        return false;
    }
    StripTrailingSeparators(dir);
    return IsAcceptableInstallDir(dir) && CopyBounded(out, dir);
}

const wchar_t* InstallDirSourceName(InstallDirSource source) {
    switch (source) {
        case InstallDirSource::kNone:
            return L"none";
        case InstallDirSource::kCommandLine:
            return L"the command line (/D=)";
        case InstallDirSource::kOwnKey:
            return L"the registry (product key)";
        case InstallDirSource::kOemKey:
            return L"the registry (OEM key, sibling folder)";
        case InstallDirSource::kDefault:
            return L"the default (Program Files)";
        case InstallDirSource::kChosen:
            return L"the user's choice in the window";
    }
    return L"unknown";
}

bool IsAcceptableInstallDir(const wchar_t* dir) {
    if (dir == nullptr) {
        return false;
    }
    const bool letter = (dir[0] >= L'A' && dir[0] <= L'Z') || (dir[0] >= L'a' && dir[0] <= L'z');
    if (!letter || dir[1] != L':' || !IsSeparator(dir[2])) {
        return false;
    }
    // Walk the components after "X:\".
    const wchar_t* component = dir + 3;
    for (const wchar_t* p = dir + 3;; ++p) {
        const wchar_t c = *p;
        if (c == L'\0' || IsSeparator(c)) {
            const std::size_t length = static_cast<std::size_t>(p - component);
            if ((length == 1 && component[0] == L'.') ||
                (length == 2 && component[0] == L'.' && component[1] == L'.')) {
                return false;
            }
            if (c == L'\0') {
                return true;
            }
            component = p + 1;
            continue;
        }
        if (c < 0x20 || std::wcschr(L"\"<>|?*:", c) != nullptr) {
            return false;
        }
    }
}

void StripTrailingSeparators(wchar_t* dir) {
    if (dir == nullptr) {
        return;
    }
    std::size_t length = std::wcslen(dir);
    // "X:\" keeps its separator: without it, it would mean the drive's
    // current folder.
    const std::size_t keep = (length >= 3 && dir[1] == L':') ? 3 : 1;
    while (length > keep && IsSeparator(dir[length - 1])) {
        dir[--length] = L'\0';
    }
}

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

bool ResolveInstallDir(PathBuffer& dir, HWND owner, InstallDirSource* source) {
    InstallDirSource found = InstallDirSource::kNone;
    dir[0] = L'\0';
    if (ReadOwnKeyDir(dir)) {
        found = InstallDirSource::kOwnKey;
    } else if (ReadOemDir(dir)) {
        found = InstallDirSource::kOemKey;
    } else {
        // The shell writes up to MAX_PATH characters: exactly our buffer.
        PathBuffer programFiles = {};
        if (::SHGetSpecialFolderPathW(owner, programFiles, CSIDL_PROGRAM_FILES, FALSE)) {
            programFiles[kPathChars - 1] = L'\0';
            if (DefaultInstallDir(programFiles, dir)) {
                found = InstallDirSource::kDefault;
            }
        }
    }
    if (source != nullptr) {
        *source = found;
    }
    return found != InstallDirSource::kNone;
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
