#pragma once

#include <windows.h>

#include "app/installer_dialog.h"

namespace velora {

// The licence agreement, shown in place of the main window: opening it hides
// its owner, closing it (101, 100, 202 or any other way) shows the owner again. It lives on
// the heap and deletes itself once its window is gone.
class CAgreeDlg : public CInstallerDialog {
  public:
    static constexpr int kList = 201;
    static constexpr int kText = 106;
    static constexpr int kCancel = 202;
    static constexpr int kAccept = 100;
    static constexpr int kClose = 101;
    static constexpr int kMinimise = 102;

    // Creates, centres and shows the agreement owned by the active window and
    // hides `owner`. Null when the window cannot be made (nothing is hidden).
    static CAgreeDlg* Open(CBkDialogViewImplEx& owner);

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;
    void OnFinalMessage(HWND window) override;

  protected:
    void OnCloseRequest() override;

  private:
    CAgreeDlg();
    void Close();

    CBkDialogViewImplEx* owner_ = nullptr;
};

}  // namespace velora
