#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/win_handles.h"

namespace velora::test {

// Full path of a program built into the same folder as the running test.
std::wstring BuiltProgramPath(const wchar_t* fileName);

// A fresh, empty folder below the temp folder; removed with everything in it
// when the object goes.
class TempFolder {
  public:
    explicit TempFolder(const std::wstring& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& child) const { return path_ + L"\\" + child; }

  private:
    std::wstring path_;
};

// Removes `path` and everything below it. A link that shows as a reparse
// point (a junction or symbolic link; under Wine, a link to a folder) is
// removed itself and what it leads to is left alone.
void RemoveTree(const std::wstring& path);
// The names of everything in `folder` (no "." or "..").
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
inline bool FolderIsEmpty(const std::wstring& folder) {
    return FolderEntries(folder).empty();
}
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);

// A junction at `path` leading to the folder `target`; false where the system
// cannot make one (Wine 8 cannot).
bool MakeJunction(const std::wstring& path, const std::wstring& target);

// A symbolic link at `path` leading to `target`, a folder or a file. Where
// CreateSymbolicLinkW makes nothing (Wine 8 only pretends), a Unix symbolic
// link is made when running under Wine, which Wine follows like a Windows
// one. False when neither can be made.
bool MakeSymbolicLink(const std::wstring& path, const std::wstring& target, bool folder);

// Removes the link at `path` itself, not what it leads to. Under Wine every
// link is a Unix symbolic link: RemoveDirectoryW and DeleteFileW would remove
// the folder or file it leads to, and a link to a file does not even show as
// a reparse point, so tests remove the links they plant with this.
void RemoveLink(const std::wstring& path);

// Sets an environment variable for this process (and the children it starts)
// and restores the previous value when the object goes.
class ScopedEnvironmentVariable {
  public:
    ScopedEnvironmentVariable(const wchar_t* name, const wchar_t* value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

  private:
    std::wstring name_;
    std::wstring previous_;
    bool hadPrevious_ = false;
};

// A process security descriptor under which anyone may wait for the process
// and ask about it but nobody may open it to end it; only the handle its
// starter holds can.
inline constexpr wchar_t kEndingDeniedSddl[] = L"D:(A;;0x101000;;;WD)";

// Starts a command line, with `processSddl` as the process's security
// descriptor when given; the process handle, empty when it did not start.
ScopedHandle StartProgram(const std::wstring& commandLine, const wchar_t* processSddl = nullptr);

// Runs a command line and waits up to `timeoutMs`. Returns the exit code, or
// -1 when it could not start or did not end in time (it is then terminated).
long RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 60000);

}  // namespace velora::test
