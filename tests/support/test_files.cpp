#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <sddl.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

namespace velora::test {

namespace {

// Wine's own exports, cdecl as Wine declares them; absent on Windows. Their
// results come from the process heap.
using UnixFileNameFunction = char*(__cdecl*)(const wchar_t*);
using DosFileNameFunction = wchar_t*(__cdecl*)(const char*);

template <typename Function>
Function WineExport(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

// The Unix name of `path` (which need not exist); empty when not under Wine.
std::string UnixFileName(const std::wstring& path) {
    const auto convert = WineExport<UnixFileNameFunction>("wine_get_unix_file_name");
    char* name = convert != nullptr ? convert(path.c_str()) : nullptr;
    if (name == nullptr) {
        return {};
    }
    std::string result(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

// Starts a Unix program, which Wine can start from a Windows process. Its
// process handle cannot be waited on: callers watch for its effect. False
// when not under Wine or when it could not be started.
bool RunUnixProgram(const char* program, const std::string& arguments) {
    const auto convert = WineExport<DosFileNameFunction>("wine_get_dos_file_name");
    wchar_t* name = convert != nullptr ? convert(program) : nullptr;
    if (name == nullptr) {
        return false;
    }
    const std::wstring dosName = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    const std::string line = std::string(program) + " " + arguments;  // ASCII, as test paths are
    std::vector<wchar_t> commandLine(line.begin(), line.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(dosName.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        return false;
    }
    ::CloseHandle(info.hProcess);
    ::CloseHandle(info.hThread);
    return true;
}

// Polls `done` for up to five seconds.
template <typename Done>
bool PollUntil(Done done) {
    for (int i = 0; i < 100; ++i) {
        if (done()) {
            return true;
        }
        ::Sleep(50);
    }
    return false;
}

// Whether a directory entry named `path` exists, even a link leading nowhere.
bool EntryExists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::FindClose(find);
    return true;
}

}  // namespace

std::wstring BuiltProgramPath(const wchar_t* fileName) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + fileName;
}

TempFolder::TempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + name;
    RemoveTree(path_);
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> entries;
    WIN32_FIND_DATAW found = {};
    ScopedFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) {
        return entries;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            entries.push_back(name);
        }
    } while (::FindNextFileW(find.Get(), &found));
    return entries;
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                RemoveLink(child);
            } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    if (!::RemoveDirectoryW(path.c_str())) {
        ::DeleteFileW(path.c_str());
    }
}

void RemoveLink(const std::wstring& path) {
    const std::string unixPath = UnixFileName(path);
    if (!unixPath.empty()) {
        if (RunUnixProgram("/bin/rm", "-f \"" + unixPath + "\"")) {
            PollUntil([&] { return !EntryExists(path); });
        }
    } else if (!::RemoveDirectoryW(path.c_str())) {
        ::DeleteFileW(path.c_str());
    }
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_EQ(bytes.size(), written);
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
        bytes.append(chunk, read);
    }
    ::CloseHandle(file);
    return bytes;
}

bool MakeJunction(const std::wstring& path, const std::wstring& target) {
    if (!::CreateDirectoryW(path.c_str(), nullptr)) {
        return false;
    }
    ScopedHandle handle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr));
    const std::wstring substitute = L"\\??\\" + target;
    const WORD bytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    // REPARSE_DATA_BUFFER for a mount point: tag, data length, reserved, then
    // the substitute name and an empty print name, each terminated.
    std::vector<BYTE> buffer(8 + 8 + bytes + 2 * sizeof(wchar_t), 0);
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD dataLength = static_cast<WORD>(buffer.size() - 8);
    const WORD offsets[4] = {0, bytes, static_cast<WORD>(bytes + sizeof(wchar_t)), 0};
    std::memcpy(&buffer[0], &tag, 4);
    std::memcpy(&buffer[4], &dataLength, 2);
    std::memcpy(&buffer[8], offsets, sizeof(offsets));
    std::memcpy(&buffer[16], substitute.data(), bytes);
    DWORD returned = 0;
    const bool made = handle && ::DeviceIoControl(handle.Get(), FSCTL_SET_REPARSE_POINT,
                                                  buffer.data(), static_cast<DWORD>(buffer.size()),
                                                  nullptr, 0, &returned, nullptr);
    if (!made) {
        handle.Reset();
        ::RemoveDirectoryW(path.c_str());
    }
    return made;
}

bool MakeSymbolicLink(const std::wstring& path, const std::wstring& target, bool folder) {
    if (::CreateSymbolicLinkW(path.c_str(), target.c_str(),
                              folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) &&
        ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    const std::string unixPath = UnixFileName(path);
    const std::string unixTarget = UnixFileName(target);
    return !unixPath.empty() && !unixTarget.empty() &&
           RunUnixProgram("/bin/ln", "-s \"" + unixTarget + "\" \"" + unixPath + "\"") &&
           PollUntil([&] { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const wchar_t* name, const wchar_t* value)
    : name_(name) {
    std::vector<wchar_t> buf(32768);
    const DWORD n = ::GetEnvironmentVariableW(name, buf.data(), static_cast<DWORD>(buf.size()));
    hadPrevious_ = n > 0 && n < buf.size();
    if (hadPrevious_) {
        previous_.assign(buf.data(), n);
    }
    ::SetEnvironmentVariableW(name, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
    ::SetEnvironmentVariableW(name_.c_str(), hadPrevious_ ? previous_.c_str() : nullptr);
}

ScopedHandle StartProgram(const std::wstring& commandLine, const wchar_t* processSddl) {
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    ScopedLocalMemory<PSECURITY_DESCRIPTOR> descriptor;
    if (processSddl != nullptr &&
        !::ConvertStringSecurityDescriptorToSecurityDescriptorW(processSddl, SDDL_REVISION_1,
                                                                descriptor.Receive(), nullptr)) {
        return ScopedHandle();
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor.Get(), FALSE};
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(nullptr, line.data(), descriptor ? &attributes : nullptr, nullptr, FALSE,
                          0, nullptr, nullptr, &startup, &info)) {
        return ScopedHandle();
    }
    ::CloseHandle(info.hThread);
    return ScopedHandle(info.hProcess);
}

long RunAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
    ScopedHandle process = StartProgram(commandLine);
    if (!process) {
        return -1;
    }
    if (::WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
        return -1;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    return static_cast<long>(code);
}

}  // namespace velora::test
