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

    // `code` replaces "{code}" in the text, when given.
    explicit CNoticeDlg(int stringId, const int* code = nullptr);

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

    const std::wstring& Text() const { return text_; }

  private:
    std::wstring text_;
};

// Shows the notice for string `stringId` over `owner` and waits for it to close.
void ShowNotice(HWND owner, int stringId);
void ShowNotice(HWND owner, int stringId, int code);

// An exit code as the user is shown it: small codes in decimal, exception
// codes in hexadecimal (0xC0000005).
std::wstring FormatExitCode(int code);

// String `stringId` of the table with "{code}" replaced by `code`; empty when
// the table lacks it.
std::wstring TextWithCode(int stringId, int code);

}  // namespace velora
