#include "controls/list_message_window.h"

namespace velora {
namespace {

// The class lives as long as the process; every list shares it.
bool RegisterMessageWindowClass(WNDPROC procedure) {
    static const ScopedWindowClass registration = [procedure] {
        WNDCLASSEXW description = {};
        description.cbSize = sizeof(description);
        description.lpfnWndProc = procedure;
        description.hInstance = ::GetModuleHandleW(nullptr);
        description.lpszClassName = CBkListMessageWnd::kClassName;
        return ScopedWindowClass(description);
    }();
    return registration.IsValid();
}

}  // namespace

CBkListMessageWnd::CBkListMessageWnd(IProcessMsgBack* sink) {
    if (!RegisterMessageWindowClass(&WindowProc)) {
        return;
    }
    window_.Reset(::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr));
    if (window_) {
        ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(sink));
    }
}

CBkListMessageWnd::~CBkListMessageWnd() {
    // The sink is going too: nothing may reach it while the window goes.
    if (window_) {
        ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
    }
}

LRESULT CALLBACK CBkListMessageWnd::WindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* sink = reinterpret_cast<IProcessMsgBack*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (sink == nullptr || message == WM_NCDESTROY) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return sink->ProcessMsgBack(window, message, wParam, lParam);
}

}  // namespace velora
