#include "tests/dialogs/modal_driver.h"

#include <utility>

#include "ui/notification.h"

namespace velora::test {
namespace {

std::function<void()>& PendingAction() {
    static std::function<void()> action;
    return action;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    std::function<void()> action = std::move(PendingAction());
    PendingAction() = nullptr;
    if (action) {
        action();
    }
}

}  // namespace

void RunFromMessageLoop(UINT delayMs, std::function<void()> action) {
    PendingAction() = std::move(action);
    ::SetTimer(nullptr, 0, delayMs, OnTimer);
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

}  // namespace velora::test
