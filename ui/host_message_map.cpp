#include "ui/host_window.h"

#include <algorithm>
#include <cstddef>

#include "ui/host_messages.h"

// The host window's messages: one line each, in message order.

namespace velora {
namespace {

template <typename Entry, std::size_t N>
constexpr bool IsSortedByMessage(const Entry (&entries)[N]) {
    for (std::size_t i = 1; i < N; ++i) {
        if (entries[i - 1].message >= entries[i].message) {
            return false;
        }
    }
    return true;
}

}  // namespace

template <void (CBkHostPointer::*Handle)(WPARAM, LPARAM)>
bool CBkDialogViewImplEx::ToPointer(WPARAM wParam, LPARAM lParam, LRESULT&) {
    (pointer_.*Handle)(wParam, lParam);
    return true;
}

// ---- The host's message map ---------------------------------------------------------

struct CBkDialogViewImplEx::MessageEntry {
    UINT message;
    bool (CBkDialogViewImplEx::*handle)(WPARAM wParam, LPARAM lParam, LRESULT& result);
};

const CBkDialogViewImplEx::MessageEntry* CBkDialogViewImplEx::FindEntry(UINT message) {
    using Host = CBkDialogViewImplEx;
    // One entry per message, in message order (searched by halves).
    static constexpr MessageEntry kMap[] = {
        {WM_DESTROY, &Host::OnDestroy},
        {WM_MOVE, &Host::AnswerOne},
        {WM_SIZE, &Host::OnSize},
        {WM_SETFOCUS, &Host::OnSetFocus},
        {WM_KILLFOCUS, &Host::OnKillFocus},
        {WM_PAINT, &Host::OnPaint},
        {WM_ERASEBKGND, &Host::AnswerOne},
        {WM_SHOWWINDOW, &Host::OnShowWindow},
        {WM_SETCURSOR, &Host::OnSetCursor},
        {WM_GETMINMAXINFO, &Host::OnGetMinMaxInfo},
        {WM_GETOBJECT, &Host::OnGetObject},
        {WM_WINDOWPOSCHANGING, &Host::OnWindowPosChanging},
        {WM_NOTIFY, &Host::OnNotify},
        {WM_NCCALCSIZE, &Host::OnNcCalcSize},
        {WM_NCHITTEST, &Host::OnNcHitTest},
        {WM_NCPAINT, &Host::AnswerZero},
        {WM_NCACTIVATE, &Host::AnswerOne},
        {WM_GETDLGCODE, &Host::OnGetDlgCode},
        {WM_COMMAND, &Host::OnCommand},
        {WM_CHANGEUISTATE, &Host::OnChangeUiState},
        {WM_UPDATEUISTATE, &Host::OnUpdateUiState},
        {WM_MOUSEMOVE, &Host::ToPointer<&CBkHostPointer::OnMouseMove>},
        {WM_LBUTTONDOWN, &Host::OnLButtonDown},
        {WM_LBUTTONUP, &Host::ToPointer<&CBkHostPointer::OnLButtonUp>},
        {WM_LBUTTONDBLCLK, &Host::ToPointer<&CBkHostPointer::OnLButtonDoubleClick>},
        {WM_RBUTTONDOWN, &Host::ToPointer<&CBkHostPointer::OnRButtonDown>},
        {WM_RBUTTONUP, &Host::ToPointer<&CBkHostPointer::OnRButtonUp>},
        {WM_MOUSEWHEEL, &Host::OnMouseWheel},
        {WM_CAPTURECHANGED, &Host::OnCaptureChanged},
        {WM_MOUSELEAVE, &Host::OnMouseLeave},
        {WM_PRINT, &Host::OnPrint},
        {WM_PRINTCLIENT, &Host::OnPrint},
        {kMsgSetToolTipText, &Host::OnSetToolTipText},
        {kMsgGetHostWindow, &Host::OnGetHostWindow},
        {kMsgIsLayeredHost, &Host::OnIsLayeredHost},
        {kMsgTranslateKey, &Host::OnTranslateKey},
        {kMsgCheckFocus, &Host::OnCheckFocus},
        {kMsgActivateControl, &Host::OnActivateControl},
    };
    static_assert(IsSortedByMessage(kMap), "the map is searched by halves");
    const MessageEntry* end = kMap + sizeof(kMap) / sizeof(kMap[0]);
    const MessageEntry* found = std::lower_bound(
        kMap, end, message, [](const MessageEntry& e, UINT m) { return e.message < m; });
    return found != end && found->message == message ? found : nullptr;
}

bool CBkDialogViewImplEx::RunMapped(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const MessageEntry* entry = FindEntry(message);
    return entry != nullptr && (this->*entry->handle)(wParam, lParam, result);
}

}  // namespace velora
