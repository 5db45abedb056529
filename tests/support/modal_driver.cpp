#include "tests/support/modal_driver.h"

#include <map>
#include <utility>
#include <vector>

#include "ui/notification.h"

namespace velora::test {
namespace {

std::map<UINT_PTR, std::function<void()>>& PendingActions() {
    static std::map<UINT_PTR, std::function<void()>> actions;
    return actions;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    auto found = PendingActions().find(timer);
    if (found == PendingActions().end()) {
        return;
    }
    std::function<void()> action = std::move(found->second);
    PendingActions().erase(found);
    if (action) {
        action();
    }
}

}  // namespace

void RunFromMessageLoop(UINT delayMs, std::function<void()> action) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, delayMs, OnTimer);
    if (timer != 0) {
        PendingActions()[timer] = std::move(action);
    }
}

void DropPendingActions() {
    for (const auto& pending : PendingActions()) {
        ::KillTimer(nullptr, pending.first);
    }
    PendingActions().clear();
}

void RunStepsFromMessageLoop(UINT gapMs, std::vector<std::function<void()>> steps) {
    UINT delay = 0;
    for (std::function<void()>& step : steps) {
        delay += gapMs;
        RunFromMessageLoop(delay, std::move(step));
    }
}

void PostKey(UINT key, bool shift) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    const UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    HWND focus = ::GetFocus();
    ::PostMessageW(focus, WM_KEYDOWN, key, down);
    ::PostMessageW(focus, WM_KEYUP, key, down | (1 << 30) | (1u << 31));
}

ScopedKeyboardCues::ScopedKeyboardCues(bool always) {
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &saved_, 0);
    ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(always ? 1 : 0), 0);
}

ScopedKeyboardCues::~ScopedKeyboardCues() {
    ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0,
                            reinterpret_cast<void*>(static_cast<INT_PTR>(saved_)), 0);
}

void SendClickRecord(HWND window, UINT id) {
    BkNotify notify = {};
    notify.hdr.hwndFrom = window;
    notify.hdr.idFrom = kHostNotifySource;
    notify.hdr.code = kNotifyClick;
    notify.controlId = id;
    notify.classTag = "dlgbtnEx2";
    ::SendMessageW(window, WM_NOTIFY, kHostNotifySource, reinterpret_cast<LPARAM>(&notify));
}

void PostClose(HWND window, CloseWay way) {
    if (way == CloseWay::kWmClose) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

HWND FindMessageDialog() {
    return ::FindWindowW(L"BkHostWindow", L"提示");
}

std::vector<HWND> MessageDialogs() {
    std::vector<HWND> shown;
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, L"BkHostWindow", L"提示")) != nullptr) {
        if (::IsWindowVisible(window)) {
            shown.push_back(window);
        }
    }
    return shown;
}

int CountMessageDialogs() {
    return static_cast<int>(MessageDialogs().size());
}

}  // namespace velora::test
