#include "app/path_box.h"

#include <commctrl.h>

#include <cstdlib>
#include <vector>

#include "ui/message_params.h"
#include "ui/host_messages.h"
#include "markup/font_pool.h"

namespace velora {
namespace {

const wchar_t kPathBoxClassName[] = L"VeloraPathBox";
constexpr UINT_PTR kSubclassId = 1;

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(window, text.data(), length + 1);
    return std::wstring(text.data());
}

HFONT PlainBaseFont() {
    return BkFontPool::Instance().GetFont(0);
}

}  // namespace

// ---- Inner edit ------------------------------------------------------------

KEditInputNumber::KEditInputNumber()
    : beam_(::LoadCursorW(nullptr, IDC_IBEAM)), arrow_(::LoadCursorW(nullptr, IDC_ARROW)) {}

// The cursors are shared system cursors: nothing to destroy.
KEditInputNumber::~KEditInputNumber() {
    Detach();
}

bool KEditInputNumber::Attach(HWND edit) {
    Detach();
    if (edit == nullptr ||
        !::SetWindowSubclass(edit, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    edit_ = edit;
    return true;
}

void KEditInputNumber::Detach() {
    if (edit_ != nullptr) {
        ::RemoveWindowSubclass(edit_, &SubclassProc, kSubclassId);
        edit_ = nullptr;
    }
}

std::wstring KEditInputNumber::Text() const {
    return WindowText(edit_);
}

void KEditInputNumber::SetNumberStyle(bool on) {
    const LONG_PTR style = ::GetWindowLongPtrW(edit_, GWL_STYLE);
    ::SetWindowLongPtrW(edit_, GWL_STYLE, on ? (style | ES_NUMBER) : (style & ~ES_NUMBER));
}

LRESULT CALLBACK KEditInputNumber::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* edit = reinterpret_cast<KEditInputNumber*>(self);
    bool handled = false;
    const LRESULT result = edit->OnMessage(message, wParam, lParam, handled);
    if (handled) {
        return result;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &SubclassProc, kSubclassId);
        edit->edit_ = nullptr;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT KEditInputNumber::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
        case WM_SETFOCUS:
            if (!placeholder_.empty() && Text() == placeholder_) {
                ::SetWindowTextW(edit_, L"");
                if (switchNumberStyle_) {
                    SetNumberStyle(true);
                }
            }
            break;
        case WM_KILLFOCUS:
            if (!placeholder_.empty() && Text().empty()) {
                if (switchNumberStyle_) {
                    SetNumberStyle(false);
                }
                ::SetWindowTextW(edit_, placeholder_.c_str());
            }
            break;
        case WM_SETCURSOR:
            if (!contextMenuOpen_) {
                ::SetCursor(LOWORD(lParam) == HTVSCROLL ? arrow_ : beam_);
            }
            handled = true;
            return TRUE;
        case WM_CONTEXTMENU:
            contextMenuOpen_ = true;
            ::SetCursor(arrow_);
            break;
        case WM_ENTERIDLE:
            contextMenuOpen_ = false;
            break;
        case WM_KEYDOWN:
            ::InvalidateRect(edit_, nullptr, TRUE);
            if (wParam == VK_ESCAPE) {
                handled = true;
                return 0;
            }
            break;
        case WM_CHAR:
            // The Escape character follows its key: swallowed as well.
            if (wParam == VK_ESCAPE) {
                handled = true;
                return 0;
            }
            break;
        default:
            break;
    }
    return 0;
}

// ---- Outer box -------------------------------------------------------------

KEditInputEx::~KEditInputEx() {
    inner_.Detach();
    DestroyNative();
}

HWND KEditInputEx::Create(HWND parent, UINT id, DWORD style) {
    const RECT none = {0, 0, 0, 0};
    return CreateNativeOfClass(kPathBoxClassName, 0, parent, none, L"", style, 0, id);
}

void KEditInputEx::CreateInner() {
    DWORD style = WS_CHILD | WS_VISIBLE | ES_NOHIDESEL;
    if (digitsOnly_) {
        style |= ES_NUMBER;
    }
    style |= multiLine_ ? (ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN) : ES_AUTOHSCROLL;
    if (verticalScroll_) {
        style |= WS_VSCROLL;
    }
    HWND edit = ::CreateWindowExW(0, L"edit", L"", style, 0, 0, 0, 0, Handle(),
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kInnerEditId)),
                                  BkWindowModule::Instance(), nullptr);
    if (edit == nullptr) {
        return;
    }
    inner_.Attach(edit);
    ::SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(textLimit_), 0);
    ::SetWindowPos(edit, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::ShowWindow(edit, SW_SHOW);
    ::SetWindowTextW(edit, storedText_.c_str());
    ::SendMessageW(edit, WM_SETFONT, HandleParam(PlainBaseFont()), TRUE);
}

void KEditInputEx::PlaceInner() {
    HWND edit = inner_.Handle();
    if (edit == nullptr) {
        return;
    }
    RECT inner;
    ::GetClientRect(Handle(), &inner);
    ::InflateRect(&inner, -2, -2);
    if (multiLine_) {
        inner.top += 4;
        inner.bottom -= 2;
    } else {
        const int band = std::abs(BkFontPool::Instance().BaseHeight()) + 6;
        const int available = inner.bottom - inner.top;
        if (band < available) {
            inner.top += (available - band) / 2;
            inner.bottom = inner.top + band;
        }
    }
    ::MoveWindow(edit, inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top,
                 TRUE);
}

void KEditInputEx::SetText(const std::wstring& text) {
    if (inner_.Handle() != nullptr) {
        ::SetWindowTextW(inner_.Handle(),
                         text.empty() ? inner_.Placeholder().c_str() : text.c_str());
    }
}

std::wstring KEditInputEx::GetText() const {
    return inner_.Handle() != nullptr ? WindowText(inner_.Handle()) : std::wstring();
}

bool KEditInputEx::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
    switch (message) {
        case WM_CREATE:
            CreateInner();
            result = 0;
            return true;
        case WM_SIZE:
            PlaceInner();
            result = 0;
            return true;
        case WM_SETFONT:
            // The box itself draws no text; the edit keeps the plain base font.
            return false;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            RECT client;
            ::GetClientRect(window, &client);
            const COLORREF old = ::SetBkColor(dc, RGB(255, 255, 255));
            ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
            ::SetBkColor(dc, old);
            ::EndPaint(window, &paint);
            result = 0;
            return true;
        }
        case WM_CTLCOLOREDIT: {
            if (!whiteBrush_) {
                whiteBrush_.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
            }
            HDC dc = ParamHandle<HDC>(wParam);
            HWND edit = ParamHandle<HWND>(lParam);
            ::SetTextColor(dc,
                           WindowText(edit) == storedText_ ? kStoredTextColour : kEditedTextColour);
            ::SetBkMode(dc, TRANSPARENT);
            result = static_cast<LRESULT>(HandleParam(whiteBrush_.Get()));
            return true;
        }
        case WM_COMMAND:
        case WM_NOTIFY: {
            // Notifications of the edit go back to it, reflected.
            HWND child =
                message == WM_COMMAND ? ParamHandle<HWND>(lParam) : ParamAt<NMHDR>(lParam).hwndFrom;
            if (child != nullptr && ::IsChild(window, child)) {
                result = ::SendMessageW(child, kReflectBase + message, wParam, lParam);
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace velora
