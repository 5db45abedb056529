#pragma once

#include <windows.h>

#include <string>

#include "app/msg_dlg.h"

namespace velora {

// A modal notice with one button, "关闭" (button 100, result 1), saying why
// the installer cannot go on. The text comes from the string table.
class CNoticeDlg : public CMsgDlg {
  public:
    static constexpr int kTextId = 201;

    explicit CNoticeDlg(int stringId);

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

    const std::wstring& Text() const { return text_; }

  private:
    std::wstring text_;
};

// Shows the notice for string `stringId` over `owner` and waits for it to close.
void ShowNotice(HWND owner, int stringId);

}  // namespace velora
