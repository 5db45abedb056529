#include "ui/host_tool_tip.h"

#include <commctrl.h>

#include "ui/message_params.h"
#include "ui/bk_window.h"
#include "ui/window_impl.h"

namespace velora {

bool CBkHostToolTip::EnsureCreated() {
    HWND window = window_.Handle();
    if (toolTip_ != nullptr || detached_ || window == nullptr) {
        return toolTip_ != nullptr;
    }
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_BAR_CLASSES;  // tooltips_class32 among them
    ::InitCommonControlsEx(&classes);
    toolTip_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                                 nullptr, BkWindowModule::Instance(), nullptr);
    if (toolTip_ == nullptr) {
        return false;
    }
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(toolTip_, TTM_ADDTOOLW, 0, AddressParam(tool));
    ::SendMessageW(toolTip_, TTM_ACTIVATE, TRUE, 0);
    ::SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 5000);
    // The move in progress reached no tip yet: it is relayed once there is.
    moveRelayed_ = false;
    return true;
}

bool CBkHostToolTip::IsShown() const {
    return toolTip_ != nullptr && ::IsWindowVisible(toolTip_) != FALSE;
}

void CBkHostToolTip::Relay(UINT message, WPARAM wParam, LPARAM lParam) {
    if (toolTip_ == nullptr) {
        return;
    }
    MSG relay = {};
    relay.hwnd = window_.Handle();
    relay.message = message;
    relay.wParam = wParam;
    relay.lParam = lParam;
    ::SendMessageW(toolTip_, TTM_RELAYEVENT, 0, AddressParam(relay));
}

void CBkHostToolTip::OnMove(WPARAM keys, LPARAM lParam, bool entering) {
    // The tip watches the whole window as one tool: it needs the move that
    // enters the window, the moves while it is shown (they restart its
    // auto-pop timer) and the move onto a control with a tip (after a show
    // that found no text, only a relayed move makes it try again). Relaying
    // any other move costs window-system round trips on every pixel and
    // changes nothing.
    moveRelayed_ = entering || IsShown();
    moveKeys_ = keys;
    moveLParam_ = lParam;
    if (moveRelayed_) {
        Relay(WM_MOUSEMOVE, keys, lParam);
    }
}

void CBkHostToolTip::UpdateText(const wchar_t* text) {
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = window_.Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(window_.Handle());
    tool.lpszText = const_cast<wchar_t*>(text);
    ::SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, AddressParam(tool));
}

void CBkHostToolTip::FollowHover(const std::wstring& text) {
    if (toolTip_ == nullptr && (text.empty() || !EnsureCreated())) {
        return;
    }
    if (text != text_) {
        text_ = text;
        UpdateText(text_.c_str());
        if (text_.empty() && IsShown()) {
            // Left for a control without a tip: the last tip must not linger.
            ::SendMessageW(toolTip_, TTM_POP, 0, 0);
        }
    }
    if (!moveRelayed_ && !text_.empty()) {
        Relay(WM_MOUSEMOVE, moveKeys_, moveLParam_);
    }
}

void CBkHostToolTip::SetText(const wchar_t* text) {
    if (text == nullptr) {
        return;
    }
    const bool creating = toolTip_ == nullptr;
    if (creating && (*text == L'\0' || !EnsureCreated())) {
        return;
    }
    text_ = text;
    UpdateText(text);
    if (creating) {
        Relay(WM_MOUSEMOVE, moveKeys_, moveLParam_);
    }
}

bool CBkHostToolTip::AnswerTextRequest(const NMHDR& header, LPARAM lParam,
                                       const CBkWindow* hovered) const {
    if (header.code != TTN_GETDISPINFOW || toolTip_ == nullptr || header.hwndFrom != toolTip_) {
        return false;
    }
    auto* info = ParamAddress<NMTTDISPINFOW>(lParam);
    info->lpszText = hovered ? const_cast<wchar_t*>(hovered->GetToolTipText().c_str()) : nullptr;
    return true;
}

}  // namespace velora
