#include "app/notice_dlg.h"

#include <cwchar>
#include <utility>

#include "markup/string_pool.h"
#include "base/bounded_format.h"

namespace velora {

std::wstring FormatExitCode(int code) {
    // Exception and error codes (0xC0000005 for an access violation) are
    // known in hexadecimal; a program's own codes are small numbers.
    const auto bits = static_cast<unsigned>(code);
    if (bits < 0x10000u) {
        return DecimalText(code);
    }
    wchar_t hex[16] = {};
    FormatBounded(hex, 16, L"0x%08X", bits);
    return hex;
}

std::wstring TextWith(int stringId, const wchar_t* token, const std::wstring& value) {
    const std::wstring* text = BkString::Instance().Find(stringId);
    if (text == nullptr) {
        return std::wstring();
    }
    // A plain token, not a format string: the table's text is never handed
    // to a formatting function.
    std::wstring out = *text;
    const std::size_t at = out.find(token);
    if (at != std::wstring::npos) {
        out.replace(at, std::wcslen(token), value);
    }
    return out;
}

std::wstring TextWithCode(int stringId, int code) {
    return TextWith(stringId, L"{code}", FormatExitCode(code));
}

CNoticeDlg::CNoticeDlg(int stringId, const int* code) {
    LoadLayout(kNoticeLayout);
    if (code != nullptr) {
        text_ = TextWithCode(stringId, *code);
    } else if (const std::wstring* text = BkString::Instance().Find(stringId)) {
        text_ = *text;
    }
}

CNoticeDlg::CNoticeDlg(std::wstring text) : text_(std::move(text)) {
    LoadLayout(kNoticeLayout);
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

void ShowNotice(HWND owner, int stringId, int code) {
    CNoticeDlg notice(stringId, &code);
    notice.DoModal(owner);
}

void ShowNotice(HWND owner, int stringId, const std::wstring& value) {
    CNoticeDlg notice(TextWith(stringId, L"{dir}", value));
    notice.DoModal(owner);
}

}  // namespace velora
