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
    // A text made already (TextWith).
    explicit CNoticeDlg(std::wstring text);

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

    const std::wstring& Text() const { return text_; }

  private:
    std::wstring text_;
};

// Shows the notice for string `stringId` over `owner` and waits for it to close.
void ShowNotice(HWND owner, int stringId);
void ShowNotice(HWND owner, int stringId, int code);
// `value` replaces "{dir}" in the text.
void ShowNotice(HWND owner, int stringId, const std::wstring& value);

// An exit code as the user is shown it: small codes in decimal, exception
// codes in hexadecimal (0xC0000005).
std::wstring FormatExitCode(int code);

// String `stringId` of the table with `token` replaced by `value`; empty when
// the table lacks it.
std::wstring TextWith(int stringId, const wchar_t* token, const std::wstring& value);
// ... with "{code}" replaced by `code`.
std::wstring TextWithCode(int stringId, int code);

}  // namespace velora
