#pragma once

#include <windows.h>

#include "base/window_scopes.h"
#include "ui/bk_window.h"

namespace velora {

// "realwnd": a placeholder for the native child window of the host whose
// dialog control id is the placeholder's `id`. It owns no window; it keeps
// the native window's position and visibility in step with its own
// rectangle and hidden bit. Hover and press never repaint it.
class CBkRealWnd : public CBkWindow {
  public:
    static constexpr char kTag[] = "realwnd";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool IsNativeWindowPlaceholder() const override { return true; }
    bool RedrawOnStateChange() override { return false; }
    // Its native window takes the focus in the tab order, at its place.
    bool TabStopByDefault() const override { return NativeWindow() != nullptr; }
    HWND FocusWindow() const override { return NativeWindow(); }
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

    // The host's child window with this placeholder's id; null when there
    // is none. A placeholder without an id hosts nothing: id 0 is what
    // every unnumbered child window carries.
    HWND NativeWindow() const;

  protected:
    // Takes the new rectangle; when it changed, moves the native window
    // there and reports the move. True when the rectangle changed.
    bool MoveNativeWindow(const WINDOWPOS& placement);
    // Sends the host the moved-window record (code 2) with `source` as both
    // the record's source id and the message's wParam.
    void SendMovedRecord(UINT_PTR source) const;
};

// "realwndex": a placeholder that, in a host presented through the layered
// path, drives a separate window of its own instead of the host's child.
// Elsewhere it behaves exactly like "realwnd".
class CBkRealWndEx : public CBkRealWnd {
  public:
    static constexpr char kTag[] = "realwndex";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    // It follows its own show messages and leaves the cursor to the host.
    bool IsNativeWindowPlaceholder() const override { return false; }
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

    // Takes ownership of the separate window (screen-positioned, shown and
    // hidden with the placeholder); destroyed with the placeholder.
    void SetSeparateWindow(HWND window) { separateWindow_.Reset(window); }

  private:
    bool HostIsLayered() const;
    void MoveSeparateWindow(const WINDOWPOS& placement);
    void ShowSeparateWindow(bool show);

    ScopedWindow separateWindow_;
};

}  // namespace velora
