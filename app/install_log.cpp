#include "app/install_log.h"

#include <cstdarg>
#include <cwchar>

#include "app/final_path.h"
#include "base/path_buffer.h"
#include "base/bounded_format.h"

namespace velora {
namespace {

constexpr std::size_t kLineChars = 2048;

int TenthOf(int percent) {
    return percent < 0 ? -1 : percent / 10;
}

// The temporary folder, held open without delete sharing so it cannot be
// renamed or replaced while the log is made in it. Empty unless it is a
// plain folder reached by its name without any link.
ScopedHandle OpenPlainFolder(const wchar_t* folder, FinalPathBuffer& folderFinal) {
    ScopedHandle handle(::CreateFileW(folder, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!handle || !::GetFileInformationByHandle(handle.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        !IsReachedWithoutLinks(handle.Get(), folder) || !FinalPath(handle.Get(), folderFinal)) {
        return ScopedHandle();
    }
    return handle;
}

// A file that is a link, a folder or has another name is not ours to write.
bool IsPlainFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info = {};
    return ::GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
               0 &&
           info.nNumberOfLinks == 1;
}

// Removes a file this process has just made through its handle.
void DeleteMadeFile(HANDLE file) {
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition));
}

void FormatInto(wchar_t* out, std::size_t capacity, const wchar_t* format, va_list args) {
    if (FormatBoundedList(out, capacity, format, args) < 0) {
        // Too long: keep what fits, marked as cut.
        out[capacity - 1] = L'\0';
        const std::size_t length = std::wcslen(out);
        if (length >= 3) {
            std::wcscpy(out + length - 3, L"...");
        }
    }
}

}  // namespace

bool ProgressSampler::Take(int percent) {
    last_ = percent;
    if (any_ && TenthOf(percent) == TenthOf(kept_)) {
        // The same value read again (one report can wake the reader twice)
        // is nothing new.
        pending_ = percent != kept_;
        return false;
    }
    any_ = true;
    pending_ = false;
    kept_ = percent;
    return true;
}

bool ProgressSampler::TakeLast(int& percent) {
    if (!pending_) {
        return false;
    }
    pending_ = false;
    percent = last_;
    return true;
}

InstallLog& InstallLog::Instance() {
    static InstallLog log;
    return log;
}

bool InstallLog::Open(const wchar_t* path, Place place) {
    ScopedExclusiveLock guard(lock_);
    file_.Reset();
    progress_ = ProgressSampler();
    if (path == nullptr || path[0] == L'\0') {
        return false;
    }
    ScopedHandle folder;
    FinalPathBuffer folderFinal = {};
    PathBuffer folderPath = {};
    const wchar_t* name = path;
    if (place == Place::kUserTemp) {
        for (const wchar_t* p = path; *p != L'\0'; ++p) {
            if (*p == L'\\') {
                name = p + 1;
            }
        }
        if (name == path || static_cast<std::size_t>(name - path) >= kPathChars) {
            return false;
        }
        std::wmemcpy(folderPath, path, static_cast<std::size_t>(name - path));
        folder = OpenPlainFolder(folderPath, folderFinal);
        if (!folder) {
            return false;
        }
    }
    // Opened, not truncated, with the link itself rather than what it leads
    // to: the checks come before a byte is written.
    ScopedHandle file(::CreateFileW(path, GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        return false;
    }
    const bool made = ::GetLastError() != ERROR_ALREADY_EXISTS;
    if (!IsPlainFile(file.Get()) ||
        (place == Place::kUserTemp && !LiesIn(file.Get(), folderFinal, name))) {
        if (made) {
            DeleteMadeFile(file.Get());
        }
        return false;
    }
    static const char kBom[] = "\xEF\xBB\xBF";
    DWORD written = 0;
    if (!::SetEndOfFile(file.Get()) || !::WriteFile(file.Get(), kBom, 3, &written, nullptr)) {
        return false;
    }
    file_ = std::move(file);
    return true;
}

bool InstallLog::OpenInUserTemp() {
    PathBuffer folder = {};
    PathBuffer path = {};
    const DWORD length = ::GetTempPathW(kPathChars, folder);
    return length > 0 && length < kPathChars && JoinPath(path, folder, kDefaultLogName) &&
           Open(path, Place::kUserTemp);
}

void InstallLog::Close() {
    ScopedExclusiveLock guard(lock_);
    file_.Reset();
}

bool InstallLog::IsOpen() const {
    ScopedExclusiveLock guard(lock_);
    return static_cast<bool>(file_);
}

void InstallLog::Write(const wchar_t* format, ...) {
    wchar_t text[kLineChars];
    va_list args;
    va_start(args, format);
    FormatInto(text, kLineChars, format, args);
    va_end(args);
    ScopedExclusiveLock guard(lock_);
    WriteLine(text);
}

void InstallLog::Error(DWORD win32Error, const wchar_t* format, ...) {
    wchar_t what[kLineChars];
    va_list args;
    va_start(args, format);
    FormatInto(what, kLineChars, format, args);
    va_end(args);
    wchar_t reason[256] = {};
    ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     win32Error, 0, reason, 256, nullptr);
    // The system's text ends with a line break.
    for (std::size_t n = std::wcslen(reason);
         n > 0 && (reason[n - 1] == L'\r' || reason[n - 1] == L'\n' || reason[n - 1] == L' ');
         --n) {
        reason[n - 1] = L'\0';
    }
    wchar_t text[kLineChars];
    FormatBounded(text, kLineChars, L"error: %.1500ls (Win32 %lu: %ls)", what, win32Error, reason);
    ScopedExclusiveLock guard(lock_);
    WriteLine(text);
}

void InstallLog::Progress(int percent) {
    ScopedExclusiveLock guard(lock_);
    if (file_ && progress_.Take(percent)) {
        wchar_t text[64];
        FormatBounded(text, 64, L"progress %d %%", percent);
        WriteLine(text);
    }
}

void InstallLog::EndProgress() {
    ScopedExclusiveLock guard(lock_);
    int percent = 0;
    if (file_ && progress_.TakeLast(percent)) {
        wchar_t text[64];
        FormatBounded(text, 64, L"progress %d %% (last report)", percent);
        WriteLine(text);
    }
}

void InstallLog::WriteLine(const wchar_t* text) {
    if (!file_) {
        return;
    }
    SYSTEMTIME now = {};
    ::GetSystemTime(&now);
    wchar_t line[kLineChars + 32];
    const int length = FormatBounded(
        line, kLineChars + 32, L"%04u-%02u-%02uT%02u:%02u:%02u.%03uZ %ls\r\n", now.wYear,
        now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, text);
    if (length <= 0) {
        return;
    }
    char bytes[4 * (kLineChars + 32)];
    const int count = ::WideCharToMultiByte(CP_UTF8, 0, line, length, bytes,
                                            static_cast<int>(sizeof(bytes)), nullptr, nullptr);
    DWORD written = 0;
    if (count > 0) {
        ::WriteFile(file_.Get(), bytes, static_cast<DWORD>(count), &written, nullptr);
    }
}

}  // namespace velora
