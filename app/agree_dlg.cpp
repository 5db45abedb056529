#include "app/agree_dlg.h"

#include <memory>

#include "ui/message_params.h"
#include "app/layout_ids.h"
#include "app/list_height_fit.h"
#include "ui/notification.h"

namespace velora {
namespace {

constexpr UINT kCloseMessage = WM_USER + 100;

}  // namespace

CAgreeDlg::CAgreeDlg() : CInstallerDialog(kAgreementLayout) {}

CAgreeDlg* CAgreeDlg::Open(CBkDialogViewImplEx& owner) {
    std::unique_ptr<CAgreeDlg> dialog(new CAgreeDlg());
    HWND active = ::GetActiveWindow();
    if (dialog->Create(active) == nullptr) {
        return nullptr;
    }
    dialog->Centre(owner.Handle());
    ::ShowWindow(dialog->Handle(), SW_SHOW);
    dialog->owner_ = &owner;
    ::ShowWindow(owner.Handle(), SW_HIDE);
    // From here the window owns the object: it deletes it after its last message.
    return dialog.release();
}

void CAgreeDlg::OnFinalMessage(HWND) {
    delete this;
}

void CAgreeDlg::OnCloseRequest() {
    // Closed from a posted message: whoever asked (the host sending a click
    // record, the window procedure) is still on the stack and must not find
    // its object deleted.
    ::PostMessageW(Handle(), kCloseMessage, 0, 0);
}

void CAgreeDlg::Close() {
    CBkDialogViewImplEx* owner = owner_;
    ::DestroyWindow(Handle());  // deletes this object
    if (owner != nullptr) {
        ::ShowWindow(owner->Handle(), SW_SHOW);
    }
}

bool CAgreeDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT& result) {
    switch (message) {
        case WM_INITDIALOG: {
            ::PostMessageW(window, WM_ADJUST_LIST_HEIGHT, 0, 0);
            const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
            if ((style & WS_CLIPCHILDREN) == 0) {
                ::SetWindowLongPtrW(window, GWL_STYLE, style | WS_CLIPCHILDREN);
            }
            result = TRUE;
            return true;
        }
        case kCloseMessage:
            Close();  // deletes this object: nothing more may run here
            result = 0;
            return true;
        case WM_ADJUST_LIST_HEIGHT:
            FitListItemToRichText(*this, kList, kText);
            result = 0;
            return true;
        case WM_NOTIFY: {
            const auto* notify = ParamAddress<const BkNotify>(lParam);
            if (notify == nullptr || notify->hdr.idFrom != kHostNotifySource ||
                notify->hdr.code != kNotifyClick) {
                break;
            }
            switch (notify->controlId) {
                case kAccept:
                case kClose:
                case kCancel:
                    OnCloseRequest();
                    result = 1;
                    return true;
                case kMinimise:
                    ::SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                    break;
                default:
                    break;
            }
            break;
        }
        default:
            break;
    }
    return CInstallerDialog::ProcessWindowMessage(window, message, wParam, lParam, result);
}

}  // namespace velora
