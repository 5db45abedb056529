#pragma once

#include <windows.h>

#include "ui/bk_window.h"

namespace velora {

// A mouse point of an engine message: two signed 16-bit halves of lParam.
struct RichPoint {
    float x;
    float y;
};
inline RichPoint RichPointFromLParam(LPARAM lParam) {
    return RichPoint{static_cast<float>(static_cast<short>(LOWORD(lParam))),
                     static_cast<float>(static_cast<short>(HIWORD(lParam)))};
}

// The base control's handling of WM_WINDOWPOSCHANGED; `resized` tells
// whether the rectangle actually changed, so text flowed in it must be laid
// out again.
inline bool TakeNewPlacement(CBkWindow& control, HWND host, WPARAM wParam, LPARAM lParam,
                             LRESULT& result, bool& resized) {
    const RECT before = control.Rect();
    const bool handled =
        control.CBkWindow::HandleMessage(host, WM_WINDOWPOSCHANGED, wParam, lParam, result);
    resized = !::EqualRect(&before, &control.Rect());
    return handled;
}

}  // namespace velora
