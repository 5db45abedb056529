#include "app/setup_folder.h"

#include <ntsecapi.h>
#include <sddl.h>

#include <cwchar>
#include <utility>

namespace velora {
namespace {

// Right after the setup program ends its image may still be mapped for a
// moment, and deleting it fails; a few short retries cover that.
constexpr int kDeleteAttempts = 20;
constexpr DWORD kDeleteRetryMs = 50;

// A name, never a path: a source may not lead the folder elsewhere.
bool IsPlainName(const wchar_t* name) {
    return name[0] != L'\0' && std::wcspbrk(name, L"\\/:") == nullptr &&
           std::wcscmp(name, L".") != 0 && std::wcscmp(name, L"..") != 0;
}

// True when `handle` is a plain folder, not a file or a reparse point
// (junction, symbolic link) leading somewhere else.
bool IsPlainFolder(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info = {};
    return ::GetFileInformationByHandle(handle, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

bool IsPlainFile(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info = {};
    return ::GetFileInformationByHandle(handle, &info) &&
           (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

bool Exists(const wchar_t* path) {
    return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// Deletes the program; false when it is still there.
bool DeleteProgram(const wchar_t* path, bool mayRetry) {
    for (int attempt = 0;; ++attempt) {
        if (::DeleteFileW(path) || !Exists(path)) {
            return true;
        }
        if (!mayRetry || attempt + 1 >= kDeleteAttempts) {
            return false;
        }
        ::Sleep(kDeleteRetryMs);
    }
}

}  // namespace

bool RandomSetupFolderName(wchar_t* out, std::size_t capacity) {
    unsigned char bytes[8] = {};
    if (!::RtlGenRandom(bytes, sizeof(bytes))) {
        return false;
    }
    wchar_t digits[2 * sizeof(bytes) + 1] = {};
    for (std::size_t i = 0; i < sizeof(bytes); ++i) {
        std::swprintf(digits + 2 * i, 3, L"%02x", bytes[i]);
    }
    return CopyBounded(out, capacity, kSetupFolderPrefix) && AppendBounded(out, capacity, digits);
}

ScopedLocalMemory<PSECURITY_DESCRIPTOR> MakeSetupFolderSecurity() {
    ScopedLocalMemory<PSECURITY_DESCRIPTOR> security;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(kSetupFolderSddl, SDDL_REVISION_1,
                                                                security.Receive(), nullptr)) {
        security.Reset();
    }
    return security;
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
    process_ = std::move(other.process_);
    other.folder_[0] = L'\0';
    other.program_[0] = L'\0';
}

bool SetupFolder::Create(const wchar_t* parent, const FolderNameSource& names) {
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
        ScopedHandle handle(::CreateFileW(
            folder, FILE_READ_ATTRIBUTES | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!handle || !IsPlainFolder(handle.Get())) {
            // Not the folder just made: something replaced it. Leave it be.
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
    if (!IsCreated() || data == nullptr) {
        return false;
    }
    ScopedHandle file(::CreateFileW(program_, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file || !IsPlainFile(file.Get())) {
        return false;
    }
    // Straight from the mapped resource; a short write means a broken program.
    DWORD written = 0;
    return ::WriteFile(file.Get(), data, size, &written, nullptr) && written == size;
}

void SetupFolder::WatchProcess(HANDLE process) {
    HANDLE copy = nullptr;
    if (process != nullptr &&
        ::DuplicateHandle(::GetCurrentProcess(), process, ::GetCurrentProcess(), &copy, SYNCHRONIZE,
                          FALSE, 0)) {
        process_.Reset(copy);
    }
}

void SetupFolder::Remove() {
    folderHandle_.Reset();
    if (!IsCreated()) {
        return;
    }
    const bool running = process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
    if (!DeleteProgram(program_, !running)) {
        // Still running (the user closed the window mid-install): the system
        // removes it at the next restart, where it lets this process ask.
        ::MoveFileExW(program_, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    if (!::RemoveDirectoryW(folder_) && Exists(folder_)) {
        ::MoveFileExW(folder_, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    folder_[0] = L'\0';
    program_[0] = L'\0';
    process_.Reset();
}

}  // namespace velora
