#include "tests/support/test_host_window.h"

#include "ui/notification.h"

namespace velora::test {
namespace {

const wchar_t kClassName[] = L"VeloraTestHostWindow";

void RegisterOnce() {
    static const bool registered = [] {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

TestHostWindow::TestHostWindow(int dialogId) {
    RegisterOnce();
    // A popup cannot carry a control id; WS_CHILD of the desktop is not
    // allowed either, so the id is set afterwards through the window long.
    window_ = ::CreateWindowExW(0, kClassName, L"host", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(window_, GWLP_ID, dialogId);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

TestHostWindow::~TestHostWindow() {
    ::DestroyWindow(window_);
}

LRESULT CALLBACK TestHostWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    auto* self = reinterpret_cast<TestHostWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != WM_NOTIFY || self == nullptr || lParam == 0) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    RecordedNotify record;
    record.wParam = wParam;
    record.source = header->idFrom;
    record.code = header->code;
    switch (header->code) {
        case kNotifyRepaint: {
            const auto* repaint = reinterpret_cast<const BkNotifyRepaint*>(lParam);
            record.controlId = static_cast<UINT>(repaint->hdr.idFrom);
            record.rect = repaint->rect;
            break;
        }
        case kNotifyRealWndMoved: {
            const auto* moved = reinterpret_cast<const BkNotifyRealWnd*>(lParam);
            record.controlId = moved->controlId;
            record.rect = moved->rect;
            break;
        }
        case kNotifyPageChange: {
            auto* change = reinterpret_cast<BkNotifyPageChange*>(lParam);
            record.controlId = change->controlId;
            record.newIndex = change->newIndex;
            record.oldIndex = change->oldIndex;
            if (self->refusePageChange) {
                change->cancel = 1;
            }
            break;
        }
        case kNotifyList: {
            const auto* list = reinterpret_cast<const BkNotifyList*>(lParam);
            record.listId = list->listId;
            record.listEvent = list->event;
            record.itemIndex = list->itemIndex;
            record.controlId = static_cast<UINT>(list->controlId);
            record.classTag = list->controlClass ? list->controlClass : "";
            record.childId = list->childId;
            record.childClass = list->childClass ? list->childClass : "";
            break;
        }
        default: {
            const auto* notify = reinterpret_cast<const BkNotify*>(lParam);
            record.controlId = notify->controlId;
            record.classTag = notify->classTag ? notify->classTag : "";
            record.subCode = notify->subCode;
            break;
        }
    }
    self->records_.push_back(record);
    return 0;
}

}  // namespace velora::test
