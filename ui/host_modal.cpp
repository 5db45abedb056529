#include "ui/host_modal.h"

#include "ui/message_params.h"
#include "markup/layout_document.h"
#include "ui/host_focus.h"

namespace velora {

void CBkModalLoop::Run(HWND window) {
    MSG message;
    while (!ending_ && !::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) {
        if (!::IsWindow(window)) {
            break;
        }
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) {
            continue;
        }
        if (got == 0) {
            // Leave WM_QUIT for the loop that owns it.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!PreTranslateHostMessage(window, message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    ending_ = false;
}

void CBkModalLoop::End(int result) {
    result_ = result;
    ending_ = true;
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

bool PreTranslateHostMessage(HWND window, MSG& message) {
    const bool keyboard = message.message >= WM_KEYFIRST && message.message <= 0x109;
    const bool mouse = message.message >= WM_MOUSEFIRST && message.message <= 0x20D;
    if ((!keyboard && !mouse) || window == nullptr) {
        return false;
    }
    if (keyboard || message.message == WM_LBUTTONDOWN || message.message == WM_RBUTTONDOWN) {
        NoteInput(keyboard);
    }
    HWND focus = ::GetFocus();
    if (focus != nullptr && focus != window && ::IsChild(window, focus)) {
        HWND child = focus;
        while (::GetParent(child) != window && ::GetParent(child) != nullptr) {
            child = ::GetParent(child);
        }
        if (::SendMessageW(child, kMsgForwardToChild, 0, AddressParam(message)) == 1) {
            return true;
        }
    }
    // The focus among window-less controls, in whichever engine window (also a
    // modeless one) the key is for; then the system's rules for native children.
    HWND root =
        keyboard && message.hwnd != nullptr ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr &&
        ::SendMessageW(root, kMsgTranslateKey, 0, AddressParam(message)) == 1) {
        return true;
    }
    return ::IsDialogMessageW(window, &message) != FALSE;
}

void CentreWindow(HWND window, HWND owner) {
    RECT self;
    ::GetWindowRect(window, &self);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST),
                      &monitor);
    RECT area = monitor.rcWork;
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    }
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    const RECT& work = monitor.rcWork;
    if (x + width > work.right) {
        x = work.right - width;
    }
    if (y + height > work.bottom) {
        y = work.bottom - height;
    }
    if (x < work.left) {
        x = work.left;
    }
    if (y < work.top) {
        y = work.top;
    }
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BringWindowToFront(HWND window, bool layered) {
    const DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    ::SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    const DWORD ownThread = ::GetCurrentThreadId();
    if (foregroundThread != 0 && foregroundThread != ownThread) {
        ::AttachThreadInput(ownThread, foregroundThread, TRUE);
        ::SetForegroundWindow(window);
        ::AttachThreadInput(ownThread, foregroundThread, FALSE);
    }
    if (layered) {
        ::PostMessageW(window, WM_PAINT, 0, 0);
    }
}

void ApplySizeRules(const BkWindowDescription& layout, RECT& client) {
    if (layout.holdSize) {
        client.right = client.left + layout.width;
        client.bottom = client.top + layout.height;
        return;
    }
    if (client.right - client.left < layout.minWidth) {
        client.right = client.left + layout.minWidth;
    }
    if (client.bottom - client.top < layout.minHeight) {
        client.bottom = client.top + layout.minHeight;
    }
}

void FillMinMaxInfo(const BkWindowDescription& layout, HWND window, MINMAXINFO& info) {
    info.ptMinTrackSize = POINT{layout.width, layout.height};
    if (!layout.resizable) {
        info.ptMaxPosition = POINT{0, 0};
        info.ptMaxSize = POINT{layout.width, layout.height};
        return;
    }
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    info.ptMaxPosition =
        POINT{work.left - monitor.rcMonitor.left, work.top - monitor.rcMonitor.top};
    info.ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
    info.ptMaxTrackSize = info.ptMaxSize;
}

}  // namespace velora
