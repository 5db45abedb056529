#include "app/notice_dlg.h"

#include "markup/string_pool.h"

namespace velora {

CNoticeDlg::CNoticeDlg(int stringId) {
    LoadLayout(kNoticeLayout);
    const std::wstring* text = BkString::Instance().Find(stringId);
    if (text != nullptr) {
        text_ = *text;
    }
}

bool CNoticeDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result) {
    const bool handled = CMsgDlg::ProcessWindowMessage(window, message, wParam, lParam, result);
    if (message == WM_INITDIALOG) {
        SetItemText(kTextId, text_.c_str());
    }
    return handled;
}

void ShowNotice(HWND owner, int stringId) {
    CNoticeDlg notice(stringId);
    notice.DoModal(owner);
}

}  // namespace velora
