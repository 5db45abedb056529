#pragma once

#include <windows.h>

#include "ui/host_messages.h"

namespace velora {

struct BkWindowDescription;

// The modal message loop of a host window and the result it ends with.
class CBkModalLoop {
  public:
    // Before the window is made: no result, not ending (the window's
    // initialisation may already end it).
    void Reset() {
        ending_ = false;
        result_ = 0;
    }
    // Runs until End, until `window` is gone, or until WM_QUIT arrives (which
    // is left for the loop that owns it).
    void Run(HWND window);
    // Stores the result and wakes the loop so that it ends.
    void End(int result);
    int Result() const { return result_; }

  private:
    bool ending_ = false;
    int result_ = 0;
};

// Keyboard and mouse pre-translation for `window`: the native child holding
// the focus first, then the engine window the key is for (its focus among
// window-less controls), then the dialog keys. True consumes the message.
bool PreTranslateHostMessage(HWND window, MSG& message);

// Centres `window` over `owner` when that is shown, else on its monitor's
// work area, keeping it inside the work area.
void CentreWindow(HWND window, HWND owner);
// Shows `window` and takes the foreground for it from another thread.
void BringWindowToFront(HWND window, bool layered);

// The minimum size and, with hold size, the layout's size, applied to a new
// client rectangle.
void ApplySizeRules(const BkWindowDescription& layout, RECT& client);
// Tracking and maximised sizes: the layout's size at least; a resizable
// window maximises to its monitor's work area.
void FillMinMaxInfo(const BkWindowDescription& layout, HWND window, MINMAXINFO& info);

}  // namespace velora
