#include "ui/edit_control.h"

#include <vector>

#include "ui/message_params.h"
#include "ui/window_impl.h"

namespace velora {

HWND CBkEdit::Create(HWND parent, int id, DWORD style, const RECT& rect) {
    Destroy();
    window_ = ::CreateWindowExW(0, L"edit", L"", WS_CHILD | style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                BkWindowModule::Instance(), nullptr);
    return window_;
}

void CBkEdit::Destroy() {
    if (window_ != nullptr && ::IsWindow(window_)) {
        ::DestroyWindow(window_);
    }
    window_ = nullptr;
}

void CBkEdit::SetText(const std::wstring& text) {
    if (window_ != nullptr) {
        ::SetWindowTextW(window_, text.c_str());
    }
}

std::wstring CBkEdit::GetText() const {
    if (window_ == nullptr) {
        return {};
    }
    const int length = ::GetWindowTextLengthW(window_);
    if (length <= 0) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = ::GetWindowTextW(window_, buffer.data(), length + 1);
    return std::wstring(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void CBkEdit::SetFont(HFONT font, bool redraw) {
    if (window_ != nullptr) {
        ::SendMessageW(window_, WM_SETFONT, HandleParam(font), redraw ? TRUE : FALSE);
    }
}

void CBkEdit::SetLimit(int characters) {
    if (window_ != nullptr) {
        ::SendMessageW(window_, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
    }
}

}  // namespace velora
