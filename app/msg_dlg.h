#pragma once

#include <windows.h>

#include "app/layout_ids.h"
#include "app/installer_dialog.h"

namespace velora {

// A modal two-button question whose look and texts come from its layout:
// the exit confirmation by default, or the old-system or product-running
// warning loaded with LoadLayout before DoModal. DoModal returns 1 for button
// 100 and 0 for button 101, and 0 when the dialog cannot be created. Closing
// it any other way is button 100: the answer that ends nothing and starts
// nothing ("取消", "退出安装", "关闭").
class CMsgDlg : public CInstallerDialog {
  public:
    static constexpr UINT kButtonOne = 100;   // right-hand button: result 1
    static constexpr UINT kButtonZero = 101;  // left-hand button: result 0

    CMsgDlg();

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

  protected:
    void OnCloseRequest() override { EndDialog(1); }
};

}  // namespace velora
