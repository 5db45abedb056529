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
