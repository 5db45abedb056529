#pragma once

#include <windows.h>

namespace velora {

// Tells Windows why a window keeps the session from ending (log-off and
// shutdown show the reason), for as long as it is held. Windows XP has no
// reasons: there holding does nothing, and the window's FALSE answer to
// WM_QUERYENDSESSION alone keeps the session. Held and released on the
// window's own thread; released when the object goes.
class ShutdownBlock {
  public:
    ShutdownBlock() = default;
    ~ShutdownBlock() { Release(); }
    ShutdownBlock(const ShutdownBlock&) = delete;
    ShutdownBlock& operator=(const ShutdownBlock&) = delete;

    void Hold(HWND window, const wchar_t* reason);
    void Release();
    bool IsHeld() const { return held_; }

  private:
    HWND window_ = nullptr;
    bool held_ = false;
};

}  // namespace velora
