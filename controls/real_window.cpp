#include "controls/real_window.h"

#include "ui/message_params.h"
#include "ui/host_link.h"
#include "ui/host_messages.h"
#include "ui/notification.h"

namespace velora {
namespace {

// Re-shows a moved window with its frame recomputed, leaving position,
// size and z-order alone.
constexpr UINT kRefreshAndShow =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW;
static_assert(kRefreshAndShow == 0x67, "the flags hosted windows are re-shown with");

int Width(const RECT& rect) {
    return rect.right - rect.left;
}

int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

}  // namespace

// ---- CBkRealWnd --------------------------------------------------------------

bool CBkRealWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

HWND CBkRealWnd::NativeWindow() const {
    if (Host() == nullptr || Id() == 0) {
        return nullptr;
    }
    return ::GetDlgItem(Host(), Id());
}

bool CBkRealWnd::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) {
    result = 0;
    HWND native = NativeWindow();
    switch (message) {
        case WM_PAINT:
            if (native != nullptr) {
                ::SendMessageW(native, WM_PAINT, 0, 0);
            }
            break;
        case WM_DESTROY:
            if (native != nullptr) {
                ::ShowWindow(native, SW_HIDE);
            }
            break;
        case WM_WINDOWPOSCHANGED:
            if (lParam != 0) {
                MoveNativeWindow(ParamAt<const WINDOWPOS>(lParam));
            }
            break;
        case WM_SHOWWINDOW:
            ApplyShowFlag(wParam != 0);
            // Showing waits while a hidden ancestor keeps the placeholder out of sight.
            if (native != nullptr && (wParam == 0 || IsVisible())) {
                ::ShowWindow(native, wParam != 0 ? SW_SHOW : SW_HIDE);
            }
            break;
        default:
            return CBkWindow::HandleMessage(host, message, wParam, lParam, result);
    }
    SetMessageHandled(true);
    return true;
}

bool CBkRealWnd::MoveNativeWindow(const WINDOWPOS& placement) {
    const RECT old = Rect();
    TakeNewPosition(placement);
    const RECT& rect = Rect();
    if (::EqualRect(&old, &rect)) {
        return false;
    }
    HWND native = NativeWindow();
    if (native != nullptr) {
        ::SetWindowPos(native, nullptr, rect.left, rect.top, Width(rect), Height(rect),
                       SWP_NOREDRAW);
    }
    if (Host() != nullptr) {
        SendMovedRecord(static_cast<UINT_PTR>(::GetDlgCtrlID(Host())));
    }
    if (native != nullptr && ::IsWindowVisible(native)) {
        ::InvalidateRect(native, nullptr, TRUE);
        ::SetWindowPos(native, nullptr, 0, 0, 0, 0, kRefreshAndShow);
    }
    return true;
}

void CBkRealWnd::SendMovedRecord(UINT_PTR source) const {
    BkNotifyRealWnd record = {};
    record.hdr.hwndFrom = Host();
    record.hdr.idFrom = source;
    record.hdr.code = kNotifyRealWndMoved;
    record.controlId = static_cast<UINT>(Id());
    record.rect = Rect();
    NotifyHost(Host(), static_cast<WPARAM>(source), record.hdr);
}

// ---- CBkRealWndEx ------------------------------------------------------------

bool CBkRealWndEx::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRealWndEx::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT& result) {
    const bool followsHost =
        message == WM_DESTROY || message == WM_WINDOWPOSCHANGED || message == WM_SHOWWINDOW;
    if (!followsHost || !HostIsLayered()) {
        return CBkRealWnd::HandleMessage(host, message, wParam, lParam, result);
    }
    result = 0;
    switch (message) {
        case WM_DESTROY:
            if (separateWindow_) {
                ::ShowWindow(separateWindow_.Get(), SW_HIDE);
            }
            separateWindow_.Reset();
            break;
        case WM_WINDOWPOSCHANGED:
            if (lParam != 0) {
                MoveSeparateWindow(ParamAt<const WINDOWPOS>(lParam));
            }
            break;
        default:  // WM_SHOWWINDOW
            ShowSeparateWindow(wParam != 0);
            break;
    }
    SetMessageHandled(true);
    return true;
}

bool CBkRealWndEx::HostIsLayered() const {
    return Host() != nullptr && velora::HostIsLayered(Host());
}

void CBkRealWndEx::MoveSeparateWindow(const WINDOWPOS& placement) {
    if (!MoveNativeWindow(placement)) {
        return;
    }
    HWND hostWindow = HostTopWindow(Host());
    const RECT& rect = Rect();
    POINT corner = {rect.left, rect.top};
    ::ClientToScreen(hostWindow, &corner);
    HWND separate = separateWindow_.Get();
    if (separate != nullptr) {
        ::SetWindowPos(separate, nullptr, corner.x, corner.y, Width(rect), Height(rect),
                       SWP_NOREDRAW);
    }
    SendMovedRecord(kHostNotifySource);
    if (separate != nullptr && ::IsWindowVisible(separate)) {
        ::SetWindowPos(separate, nullptr, 0, 0, 0, 0, kRefreshAndShow);
    }
}

void CBkRealWndEx::ShowSeparateWindow(bool show) {
    ApplyShowFlag(show);
    HWND separate = separateWindow_.Get();
    if (separate == nullptr) {
        return;
    }
    if (!show) {
        ::ShowWindow(separate, SW_HIDE);
    } else if (IsVisible()) {
        ::SetWindowPos(separate, nullptr, 0, 0, 0, 0, kRefreshAndShow);
    }
}

}  // namespace velora
