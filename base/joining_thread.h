#pragma once

#include <windows.h>

#include "base/win_handles.h"

namespace velora {

// A thread that runs one function and is waited for when its owner goes
// away, so it never outlives what it was handed.
class JoiningThread {
  public:
    using Function = DWORD(WINAPI*)(void* context);

    JoiningThread() = default;
    ~JoiningThread() { Join(); }
    JoiningThread(const JoiningThread&) = delete;
    JoiningThread& operator=(const JoiningThread&) = delete;

    // Runs `function(context)` on a new thread; false when one was started
    // already or none could be made.
    bool Start(Function function, void* context);
    // True from a successful Start until Join.
    bool Joinable() const { return handle_.IsValid(); }
    // Waits for the thread to end (nothing when none runs).
    void Join();

  private:
    ScopedHandle handle_;
};

}  // namespace velora
