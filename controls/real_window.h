#pragma once

#include <windows.h>

#include "base/unique_resource.h"
#include "ui/bk_window.h"

namespace velora {

// "realwnd": a placeholder for the native child window of the host whose
// dialog control id is the placeholder's `id`. It owns no window; hover and
// press never repaint it.
class CBkRealWnd : public CBkWindow {
  public:
    static constexpr char kTag[] = "realwnd";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool RedrawOnStateChange() override { return false; }
};

struct NativeWindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type window) { return window != nullptr; }
    static void Close(Type window) { ::DestroyWindow(window); }
};
using ScopedNativeWindow = UniqueResource<NativeWindowTraits>;

// "realwndex": the placeholder that also follows a layered host, through a
// separate window of its own that it destroys with itself.
class CBkRealWndEx : public CBkRealWnd {
  public:
    static constexpr char kTag[] = "realwndex";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }

    HWND SeparateWindow() const { return separateWindow_.Get(); }

  private:
    ScopedNativeWindow separateWindow_;
};

}  // namespace velora
