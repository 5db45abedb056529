#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <vector>

namespace velora::test {

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
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
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
