#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <vector>

#include "tests/support/message_pump.h"

namespace velora::test {

// Runs `action` once, from inside whatever message loop is running on this
// thread, `delayMs` after the call; for driving modal dialogs in tests.
// Several actions may be pending at once.
void RunFromMessageLoop(UINT delayMs, std::function<void()> action);
// Drops the actions not run yet: a modal run that ended early must not leave
// them to fire, with their captures gone, in the next test's loop.
void DropPendingActions();

// Runs `steps` one after the other from inside the running message loop,
// `gapMs` apart (the first after `gapMs`), so that what one step posts has
// gone through the loop before the next step looks.
void RunStepsFromMessageLoop(UINT gapMs, std::vector<std::function<void()>> steps);

// Posts a key press (down and up) to the window with the keyboard focus, as
// the system queues it, with Shift held (for the loop's GetKeyState) when asked.
void PostKey(UINT key, bool shift = false);

// Sets the system's "focus cues always shown" setting for this session
// (Wine turns it on) for the life of the object.
class ScopedKeyboardCues {
  public:
    explicit ScopedKeyboardCues(bool always);
    ~ScopedKeyboardCues();
    ScopedKeyboardCues(const ScopedKeyboardCues&) = delete;
    ScopedKeyboardCues& operator=(const ScopedKeyboardCues&) = delete;

  private:
    BOOL saved_ = FALSE;
};

// Sends the window the click record the engine sends for control `id`.
void SendClickRecord(HWND window, UINT id);

// A close request that does not come from the window's close button: WM_CLOSE
// as another program posts it, or SC_CLOSE as Alt+F4, the taskbar and the
// system menu send it.
enum class CloseWay { kWmClose, kSysCommand };
inline constexpr CloseWay kCloseWays[] = {CloseWay::kWmClose, CloseWay::kSysCommand};
void PostClose(HWND window, CloseWay way);
inline void PrintTo(CloseWay way, std::ostream* out) {
    *out << (way == CloseWay::kWmClose ? "WM_CLOSE" : "SC_CLOSE");
}

// The visible message dialog ("提示"), or null; all of them; and how many there are.
HWND FindMessageDialog();
std::vector<HWND> MessageDialogs();
int CountMessageDialogs();

}  // namespace velora::test
