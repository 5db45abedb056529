#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

#include "base/path_buffer.h"
#include "base/win_handles.h"

namespace velora {

// The setup program is written into a folder of its own below the temporary
// folder, so nobody without administrator rights can swap it before it runs.
inline constexpr wchar_t kSetupFolderPrefix[] = L"velora_";
inline constexpr wchar_t kSetupProgramName[] = L"velora_setup.exe";
// Folder names tried before giving up (names are random: a collision is rare).
inline constexpr int kSetupFolderAttempts = 16;
// Administrators and SYSTEM have full control, Users may read and execute; no
// ACE of the temporary folder is inherited. Files inside inherit the same.
inline constexpr wchar_t kSetupFolderSddl[] =
    L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;FRFX;;;BU)";

// Writes the next folder name to try (a name, not a path); false when none
// can be made.
using FolderNameSource = std::function<bool(wchar_t* out, std::size_t capacity)>;

// kSetupFolderPrefix followed by 16 random hexadecimal digits.
bool RandomSetupFolderName(wchar_t* out, std::size_t capacity);

// The security descriptor the folder is made with: kSetupFolderSddl, plus
// full control for the current user when the process is not elevated (it
// could not write its own program otherwise). Null when it cannot be built.
ScopedLocalMemory<PSECURITY_DESCRIPTOR> MakeSetupFolderSecurity();

// Whether a new folder's owner and DACL are read back and compared.
// kSkip only where the file system keeps no security descriptors (Wine).
enum class DescriptorCheck { kFull, kSkip };
DescriptorCheck DefaultDescriptorCheck();

// Why a folder handle is not trusted; kNone when it is.
enum class FolderRefusal {
    kNone,
    kNotAPlainFolder,   // a file, or a reparse point leading elsewhere
    kNoPersistentAcls,  // the volume keeps no ACLs (FAT, some network shares)
    kUntrustedOwner,    // owned by someone other than Administrators, SYSTEM or us
    kDaclNotAsSet,      // the DACL is not the one the folder was made with
    kUnreadable,        // attributes, volume or descriptor could not be read
};
FolderRefusal CheckSetupFolder(HANDLE folder, PSECURITY_DESCRIPTOR expected, DescriptorCheck check);

// The setup program's own folder. The object removes the folder and the
// program when it goes: once the program has ended, at once and through
// handles; while it still runs, at the next restart where the system allows.
class SetupFolder {
  public:
    SetupFolder() = default;
    ~SetupFolder();
    SetupFolder(SetupFolder&& other) noexcept;
    SetupFolder& operator=(SetupFolder&& other) noexcept;
    SetupFolder(const SetupFolder&) = delete;
    SetupFolder& operator=(const SetupFolder&) = delete;

    // Creates a new folder below `parent` with the restricted DACL, trying
    // names from `names` until one is free, and checks it through its handle
    // (CheckSetupFolder). An existing folder, file or reparse point is never
    // used. False (and nothing left behind) on failure.
    bool Create(const wchar_t* parent, const FolderNameSource& names = RandomSetupFolderName,
                DescriptorCheck check = DefaultDescriptorCheck());

    // Writes `size` bytes as the program file. The file must be new
    // (CREATE_NEW) and nobody else may write to it while it is written. The
    // program then stays open, shared for reading only, until ReleaseProgram.
    bool WriteProgram(const void* data, DWORD size);

    // The path the open program file really has (no "\\?\" prefix for a
    // drive path): what to start. False when there is none or it does not fit.
    bool LaunchPath(wchar_t* out, std::size_t capacity) const;

    // Lets go of the open program (once the process has been created, so the
    // program may open itself as it likes).
    void ReleaseProgram() { programHandle_.Reset(); }

    // The process running the program; while it runs the program cannot be
    // deleted, so removal is then left to the next restart.
    void WatchProcess(HANDLE process);

    // Deletes the program and the folder now (see the class comment). Only
    // what is still the very file and folder made here is touched.
    void Remove();

    bool IsCreated() const { return folder_[0] != L'\0'; }
    const wchar_t* Path() const { return folder_; }
    const wchar_t* ProgramPath() const { return program_; }

  private:
    void TakeFrom(SetupFolder& other);
    void RemoveProgram(bool running);

    PathBuffer folder_ = {};
    PathBuffer program_ = {};
    // Held without delete sharing: on Windows the folder cannot be renamed,
    // removed or replaced while the program is written, started and removed.
    ScopedHandle folderHandle_;
    ScopedHandle programHandle_;
    BY_HANDLE_FILE_INFORMATION programId_ = {};
    bool programWritten_ = false;
    ScopedHandle process_;
};

}  // namespace velora
