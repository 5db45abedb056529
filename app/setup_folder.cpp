#include "app/setup_folder.h"

#include <aclapi.h>
#include <ntsecapi.h>
#include <sddl.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "app/process_security.h"
#include "base/bounded_format.h"

namespace velora {
namespace {

// Right after the setup program ends its image may still be mapped for a
// moment, and deleting it fails; a few short retries (on the same handle)
// cover that.
constexpr int kDeleteAttempts = 20;
constexpr DWORD kDeleteRetryMs = 50;

// A name, never a path: a source may not lead the folder elsewhere.
bool IsPlainName(const wchar_t* name) {
    return name[0] != L'\0' && std::wcspbrk(name, L"\\/:") == nullptr &&
           std::wcscmp(name, L".") != 0 && std::wcscmp(name, L"..") != 0;
}

bool ReadIdentity(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info) {
    info = {};
    return ::GetFileInformationByHandle(handle, &info) != FALSE;
}

// True when `handle` is a plain folder, not a file or a reparse point
// (junction, symbolic link) leading somewhere else.
bool IsPlainFolder(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info = {};
    return ReadIdentity(handle, info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

bool IsPlainFile(const BY_HANDLE_FILE_INFORMATION& info) {
    return (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
               0 &&
           info.nNumberOfLinks == 1;
}

bool SameObject(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// Opens `path` without following a reparse point, and keeps the handle only
// when it is the object `expected` describes. Where the folder can be
// renamed under an open handle (Wine), this is what keeps a removal from
// reaching through a planted link.
ScopedHandle OpenSameObject(const wchar_t* path, DWORD access,
                            const BY_HANDLE_FILE_INFORMATION& expected) {
    ScopedHandle handle(::CreateFileW(
        path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION found = {};
    if (!handle || !ReadIdentity(handle.Get(), found) || !SameObject(found, expected) ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return ScopedHandle();
    }
    return handle;
}

bool MarkForDeletion(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                        sizeof(disposition)) != FALSE;
}

bool IsTrustedOwner(PSID owner) {
    if (IsAdministratorsOrSystem(owner)) {
        return true;
    }
    const std::vector<BYTE> self = CurrentUserSid();
    return owner != nullptr && !self.empty() && ::IsValidSid(owner) &&
           ::EqualSid(owner, const_cast<BYTE*>(self.data()));
}

}  // namespace

bool RandomSetupFolderName(wchar_t* out, std::size_t capacity) {
    unsigned char bytes[8] = {};
    if (!::RtlGenRandom(bytes, sizeof(bytes))) {
        return false;
    }
    wchar_t digits[2 * sizeof(bytes) + 1] = {};
    for (std::size_t i = 0; i < sizeof(bytes); ++i) {
        FormatBounded(digits + 2 * i, 3, L"%02x", bytes[i]);
    }
    return CopyBounded(out, capacity, kSetupFolderPrefix) && AppendBounded(out, capacity, digits);
}

ScopedLocalMemory<PSECURITY_DESCRIPTOR> MakeSetupFolderSecurity() {
    if (IsProcessElevated()) {
        return SecurityFromSddl(kSetupFolderSddl);
    }
    std::vector<BYTE> self = CurrentUserSid();
    ScopedLocalMemory<LPWSTR> selfText;
    if (self.empty() || !::ConvertSidToStringSidW(self.data(), selfText.Receive())) {
        return ScopedLocalMemory<PSECURITY_DESCRIPTOR>();
    }
    const std::wstring sddl =
        std::wstring(kSetupFolderSddl) + L"(A;OICI;FA;;;" + selfText.Get() + L")";
    return SecurityFromSddl(sddl.c_str());
}

DescriptorCheck DefaultDescriptorCheck() {
    return RunsOnWine() ? DescriptorCheck::kSkip : DescriptorCheck::kFull;
}

FolderRefusal CheckSetupFolder(HANDLE folder, PSECURITY_DESCRIPTOR expected,
                               DescriptorCheck check) {
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!ReadIdentity(folder, info)) {
        return FolderRefusal::kUnreadable;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return FolderRefusal::kNotAPlainFolder;
    }
    DWORD flags = 0;
    if (!::GetVolumeInformationByHandleW(folder, nullptr, 0, nullptr, nullptr, &flags, nullptr,
                                         0)) {
        return FolderRefusal::kUnreadable;
    }
    if ((flags & FILE_PERSISTENT_ACLS) == 0) {
        return FolderRefusal::kNoPersistentAcls;
    }
    if (check == DescriptorCheck::kSkip) {
        return FolderRefusal::kNone;
    }
    PSID owner = nullptr;
    PACL dacl = nullptr;
    ScopedLocalMemory<PSECURITY_DESCRIPTOR> found;
    if (::GetSecurityInfo(folder, SE_FILE_OBJECT,
                          OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                          &dacl, nullptr, found.Receive()) != ERROR_SUCCESS) {
        return FolderRefusal::kUnreadable;
    }
    if (!IsTrustedOwner(owner)) {
        return FolderRefusal::kUntrustedOwner;
    }
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL wanted = nullptr;
    if (expected == nullptr ||
        !::GetSecurityDescriptorDacl(expected, &present, &wanted, &defaulted) || !present ||
        !SameAcl(wanted, dacl)) {
        return FolderRefusal::kDaclNotAsSet;
    }
    return FolderRefusal::kNone;
}

SetupFolder::~SetupFolder() {
    Remove();
}

SetupFolder::SetupFolder(SetupFolder&& other) noexcept {
    TakeFrom(other);
}

SetupFolder& SetupFolder::operator=(SetupFolder&& other) noexcept {
    if (this != &other) {
        Remove();
        TakeFrom(other);
    }
    return *this;
}

void SetupFolder::TakeFrom(SetupFolder& other) {
    CopyBounded(folder_, other.folder_);
    CopyBounded(program_, other.program_);
    folderHandle_ = std::move(other.folderHandle_);
    programHandle_ = std::move(other.programHandle_);
    programId_ = other.programId_;
    programWritten_ = other.programWritten_;
    process_ = std::move(other.process_);
    other.folder_[0] = L'\0';
    other.program_[0] = L'\0';
    other.programWritten_ = false;
}

bool SetupFolder::Create(const wchar_t* parent, const FolderNameSource& names,
                         DescriptorCheck check) {
    if (IsCreated() || parent == nullptr || parent[0] == L'\0' || !names) {
        return false;
    }
    ScopedLocalMemory<PSECURITY_DESCRIPTOR> security = MakeSetupFolderSecurity();
    if (!security) {
        return false;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), security.Get(), FALSE};
    for (int attempt = 0; attempt < kSetupFolderAttempts; ++attempt) {
        PathBuffer name = {};
        PathBuffer folder = {};
        PathBuffer program = {};
        if (!names(name, kPathChars) || !IsPlainName(name) || !JoinPath(folder, parent, name) ||
            !JoinPath(program, folder, kSetupProgramName)) {
            return false;
        }
        if (!::CreateDirectoryW(folder, &attributes)) {
            if (::GetLastError() == ERROR_ALREADY_EXISTS) {
                continue;  // taken, by anything at all: never reuse it
            }
            return false;
        }
        // No delete sharing: while this is open the folder cannot be renamed
        // (list access makes the handle count in share checks; one that only
        // reads attributes does not). No delete access either: the setup
        // program runs in this folder, and its own open of it shares no
        // deletion.
        ScopedHandle handle(::CreateFileW(
            folder, FILE_LIST_DIRECTORY | READ_CONTROL | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!handle || !IsPlainFolder(handle.Get())) {
            // Not the folder just made: something replaced it. Leave it be.
            return false;
        }
        if (CheckSetupFolder(handle.Get(), security.Get(), check) != FolderRefusal::kNone) {
            // Ours, but not what was asked for (a volume without ACLs, say):
            // take it away again, if it is still the folder just made.
            BY_HANDLE_FILE_INFORMATION id = {};
            ReadIdentity(handle.Get(), id);
            handle.Reset();
            ScopedHandle again = OpenSameObject(folder, DELETE | FILE_READ_ATTRIBUTES, id);
            if (again) {
                MarkForDeletion(again.Get());
            }
            return false;
        }
        CopyBounded(folder_, folder);
        CopyBounded(program_, program);
        folderHandle_ = std::move(handle);
        return true;
    }
    return false;
}

bool SetupFolder::WriteProgram(const void* data, DWORD size) {
    if (!IsCreated() || data == nullptr || programWritten_) {
        return false;
    }
    {
        ScopedHandle file(
            ::CreateFileW(program_, GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file) {
            return false;
        }
        BY_HANDLE_FILE_INFORMATION info = {};
        DWORD written = 0;
        // Straight from the mapped resource; a short write means a broken program.
        if (!ReadIdentity(file.Get(), info) || !IsPlainFile(info) ||
            !::WriteFile(file.Get(), data, size, &written, nullptr) || written != size) {
            MarkForDeletion(file.Get());
            return false;
        }
        programId_ = info;
        programWritten_ = true;
    }
    // Reopened for reading only, shared for reading only: the loader can map
    // it, nobody can change or remove it until the process has started.
    ScopedHandle reader(::CreateFileW(program_, GENERIC_READ | SYNCHRONIZE, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!reader || !ReadIdentity(reader.Get(), info) || !SameObject(info, programId_) ||
        !IsPlainFile(info)) {
        return false;
    }
    programHandle_ = std::move(reader);
    return true;
}

bool SetupFolder::LaunchPath(wchar_t* out, std::size_t capacity) const {
    if (!programHandle_ || out == nullptr || capacity == 0) {
        return false;
    }
    wchar_t final[kPathChars + 8] = {};
    const DWORD length = ::GetFinalPathNameByHandleW(programHandle_.Get(), final, kPathChars + 8,
                                                     FILE_NAME_NORMALIZED);
    if (length == 0 || length >= kPathChars + 8) {
        return false;
    }
    // "\\?\C:\..." is started as "C:\..."; anything else (a UNC or volume
    // path) is not where a setup folder is made.
    const wchar_t* path = final;
    if (std::wcsncmp(final, L"\\\\?\\", 4) == 0) {
        path = final + 4;
    }
    if (!(((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
          path[1] == L':' && path[2] == L'\\')) {
        return false;
    }
    return CopyBounded(out, capacity, path);
}

void SetupFolder::WatchProcess(HANDLE process) {
    HANDLE copy = nullptr;
    if (process != nullptr &&
        ::DuplicateHandle(::GetCurrentProcess(), process, ::GetCurrentProcess(), &copy, SYNCHRONIZE,
                          FALSE, 0)) {
        process_.Reset(copy);
    }
}

void SetupFolder::RemoveProgram(bool running) {
    programHandle_.Reset();
    if (!programWritten_) {
        return;
    }
    ScopedHandle program =
        OpenSameObject(program_, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, programId_);
    if (!program) {
        return;  // gone, or no longer the file written here: not ours to touch
    }
    for (int attempt = 0; attempt < kDeleteAttempts; ++attempt) {
        if (MarkForDeletion(program.Get())) {
            return;
        }
        if (running) {
            break;
        }
        ::Sleep(kDeleteRetryMs);
    }
    // Still running (the installer is ending mid-install): the system
    // removes it at the next restart, where it lets this process ask. The
    // path was checked to be the program just now.
    ::MoveFileExW(program_, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void SetupFolder::Remove() {
    if (!IsCreated()) {
        return;
    }
    const bool running = process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
    RemoveProgram(running);
    // The held handle shares no deletion, so it is let go first; the folder
    // is then opened again and removed only if it is still the one made here
    // (on Windows nobody but an administrator could have replaced it).
    BY_HANDLE_FILE_INFORMATION folderId = {};
    const bool known = folderHandle_ && ReadIdentity(folderHandle_.Get(), folderId);
    folderHandle_.Reset();
    ScopedHandle folder =
        known ? OpenSameObject(folder_, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, folderId)
              : ScopedHandle();
    // A folder that is not empty (the program is still there) refuses.
    if (folder && !MarkForDeletion(folder.Get()) && running) {
        ::MoveFileExW(folder_, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    folder.Reset();
    folder_[0] = L'\0';
    program_[0] = L'\0';
    programWritten_ = false;
    process_.Reset();
}

}  // namespace velora
