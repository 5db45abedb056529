#include "app/msg_dlg.h"

#include "ui/message_params.h"
#include "ui/notification.h"

namespace velora {

CMsgDlg::CMsgDlg() : CInstallerDialog(kExitConfirmLayout) {}

bool CMsgDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT& result) {
    if (message == WM_NOTIFY && lParam != 0) {
        const auto* notify = ParamAddress<const BkNotify>(lParam);
        if (notify->hdr.idFrom == kHostNotifySource && notify->hdr.code == kNotifyClick) {
            if (notify->controlId == kButtonOne || notify->controlId == kButtonZero) {
                EndDialog(notify->controlId == kButtonOne ? 1 : 0);
                result = 1;
                return true;
            }
        }
    }
    return CInstallerDialog::ProcessWindowMessage(window, message, wParam, lParam, result);
}

}  // namespace velora
