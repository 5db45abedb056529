#pragma once

#include <windows.h>

#include "base/window_scopes.h"

namespace velora {

// Receives what reaches a list's message window.
class IProcessMsgBack {
  public:
    virtual ~IProcessMsgBack() = default;
    virtual LRESULT ProcessMsgBack(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// The hidden, message-only window (class "bkmsgwnd") a list gives its items
// and scroll bar as their host: their timers, repaint requests and other
// messages to the host pass through it, so the list can map or forward them.
class CBkListMessageWnd {
  public:
    static constexpr wchar_t kClassName[] = L"bkmsgwnd";

    // `sink` must outlive the window.
    explicit CBkListMessageWnd(IProcessMsgBack* sink);
    ~CBkListMessageWnd();
    CBkListMessageWnd(const CBkListMessageWnd&) = delete;
    CBkListMessageWnd& operator=(const CBkListMessageWnd&) = delete;

    // Null when the window could not be made.
    HWND Handle() const { return window_.Get(); }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    ScopedWindow window_;
};

}  // namespace velora
