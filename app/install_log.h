#pragma once

#include <windows.h>

#include "base/exclusive_lock.h"
#include "base/win_handles.h"

namespace velora {

// The log's file name in the user's temporary folder (/log without a file).
inline constexpr wchar_t kDefaultLogName[] = L"Velora_install.log";

// Which progress reports the log keeps: the first, the first one in each new
// tenth (0-9, 10-19, ..., 100), and at the end the last one when it differs
// from the last one kept.
class ProgressSampler {
  public:
    // True when this report is to be written.
    bool Take(int percent);
    // True (once) when the last report taken was not written; `percent` is it.
    bool TakeLast(int& percent);

  private:
    bool any_ = false;
    bool pending_ = false;
    int kept_ = 0;
    int last_ = 0;
};

// The install log: one time-stamped line (UTC) per event, UTF-8 with a
// byte-order mark, CRLF line ends. Every part of the installer writes to
// Instance(); until it is opened, or when the file cannot be written, writing
// does nothing: a log never changes what the install does. Any thread may
// write.
class InstallLog {
  public:
    static InstallLog& Instance();

    InstallLog() = default;
    InstallLog(const InstallLog&) = delete;
    InstallLog& operator=(const InstallLog&) = delete;

    // Where a log file is. The user's temporary folder is writable by
    // programs that are not elevated: there the folder must be reached
    // without a link and the file must be a plain file with one name.
    enum class Place { kChosen, kUserTemp };
    // Starts the log afresh in `path`, not shared for writing, never through
    // a link at its last component. False (and closed) when it cannot be used.
    bool Open(const wchar_t* path, Place place);
    // %TEMP%\Velora_install.log.
    bool OpenInUserTemp();
    void Close();
    bool IsOpen() const;

    // One line, printf-style (%ls for text).
    void Write(const wchar_t* format, ...);
    // "error: <text> (Win32 <code>: <system's text>)".
    void Error(DWORD win32Error, const wchar_t* format, ...);
    // A progress report, kept as ProgressSampler says.
    void Progress(int percent);
    // The setup program has ended: the last report, when it was not kept.
    void EndProgress();

  private:
    void WriteLine(const wchar_t* text);  // with lock_ held

    mutable ExclusiveLock lock_;
    ScopedHandle file_;
    ProgressSampler progress_;
};

}  // namespace velora
