#include "ui/host_focus.h"

#include <algorithm>

#include "ui/bk_window.h"
#include "ui/control_registry.h"
#include "ui/host_messages.h"
#include "ui/host_painter.h"
#include "ui/host_pointer.h"
#include "ui/layout_sections.h"
#include "ui/message_params.h"
#include "ui/window_impl.h"

namespace velora {
namespace {

// The cue is a 1-pixel dotted line this far outside the control, in two
// tones so that it shows on light and dark skins alike.
constexpr int kCueGap = 2;
constexpr COLORREF kCueDark = RGB(0x1A, 0x1A, 0x1A);
constexpr COLORREF kCueLight = RGB(0xFF, 0xFF, 0xFF);

bool lastInputWasKeyboard = false;

// The system setting that keeps focus cues shown whatever the input.
bool CuesAlwaysShown() {
    BOOL always = FALSE;
    return ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0) && always;
}

RECT CueRect(const CBkWindow& control) {
    RECT rect = control.Rect();
    ::InflateRect(&rect, kCueGap + 1, kCueGap + 1);
    return rect;
}

// Where a native window takes the focus: its innermost first child (a box
// around an edit gives it to the edit).
HWND FocusTarget(HWND native) {
    HWND target = native;
    for (HWND child = ::GetWindow(target, GW_CHILD);
         child != nullptr && ::IsWindowVisible(child) && ::IsWindowEnabled(child);
         child = ::GetWindow(target, GW_CHILD)) {
        target = child;
    }
    return target;
}

bool IsDown(int key) {
    return ::GetKeyState(key) < 0;
}

}  // namespace

void NoteInput(bool keyboard) {
    lastInputWasKeyboard = keyboard;
}

CBkHostFocus::CBkHostFocus(const CBkWindowImpl& window, CBkLayoutSections& sections,
                           CBkHostPainter& painter, CBkHostPointer& pointer)
    : window_(window), sections_(sections), painter_(painter), pointer_(pointer) {}

// ---- The tab order -------------------------------------------------------------

std::vector<std::int32_t> CBkHostFocus::Stops() const {
    std::vector<std::int32_t> stops;
    sections_.Header().AppendTabStops(stops);
    sections_.Body().AppendTabStops(stops);
    sections_.Footer().AppendTabStops(stops);
    return stops;
}

bool CBkHostFocus::CanFocus(const CBkWindow& control) const {
    HWND host = window_.Handle();
    RECT client = {};
    RECT inside = {};
    if (host == nullptr || control.Host() != host || !control.IsTabStop() || !control.IsVisible() ||
        control.IsDisabled() || !::GetClientRect(host, &client) ||
        !::IntersectRect(&inside, &client, &control.Rect())) {
        return false;
    }
    HWND native = control.FocusWindow();
    return native == nullptr || (::IsWindowVisible(native) && ::IsWindowEnabled(native));
}

bool CBkHostFocus::CanFocus(std::int32_t handle) const {
    const CBkWindow* control = handle != 0 ? BkControlRegistry::Lookup(handle) : nullptr;
    return control != nullptr && CanFocus(*control);
}

std::int32_t CBkHostFocus::Current() const {
    HWND host = window_.Handle();
    HWND focus = ::GetFocus();
    if (focus == nullptr || focus == host || !::IsChild(host, focus)) {
        return focused_;
    }
    for (std::int32_t handle : Stops()) {
        const CBkWindow* control = BkControlRegistry::Lookup(handle);
        HWND native = control != nullptr ? control->FocusWindow() : nullptr;
        if (native != nullptr && (native == focus || ::IsChild(native, focus))) {
            return handle;
        }
    }
    return focused_;
}

std::int32_t CBkHostFocus::Next(std::int32_t from, int step) const {
    const std::vector<std::int32_t> stops = Stops();
    const int count = static_cast<int>(stops.size());
    const auto at = std::find(stops.begin(), stops.end(), from);
    const int start =
        at != stops.end() ? static_cast<int>(at - stops.begin()) : (step > 0 ? -1 : count);
    for (int i = 1; i <= count; ++i) {
        const int index = ((start + step * i) % count + count) % count;
        if (CanFocus(stops[index])) {
            return stops[index];
        }
    }
    return 0;
}

std::int32_t CBkHostFocus::DefaultButton() const {
    for (std::int32_t handle : Stops()) {
        const CBkWindow* control = BkControlRegistry::Lookup(handle);
        if (control != nullptr && control->IsDefaultButton() && CanFocus(*control)) {
            return handle;
        }
    }
    return 0;
}

// ---- Moving the focus --------------------------------------------------------------

std::int32_t CBkHostFocus::Focused() const {
    HWND host = window_.Handle();
    HWND focus = ::GetFocus();
    const CBkWindow* control = focused_ != 0 ? BkControlRegistry::Lookup(focused_) : nullptr;
    if (control == nullptr || control->FocusWindow() != nullptr ||
        (focus != nullptr && focus != host && ::IsChild(host, focus))) {
        return 0;
    }
    return focused_;
}

bool CBkHostFocus::FocusControl(std::int32_t handle) {
    if (!CanFocus(handle)) {
        return false;
    }
    displaced_ = false;
    SetFocusTo(handle);
    return true;
}

bool CBkHostFocus::Move(bool backward) {
    const std::int32_t next = Next(Current(), backward ? -1 : 1);
    return next != 0 && FocusControl(next);
}

void CBkHostFocus::SetFocusTo(std::int32_t handle) {
    HWND host = window_.Handle();
    InvalidateCue();
    focused_ = handle;
    const CBkWindow* control = handle != 0 ? BkControlRegistry::Lookup(handle) : nullptr;
    if (HWND native = control != nullptr ? control->FocusWindow() : nullptr) {
        HWND target = FocusTarget(native);
        if (::GetActiveWindow() != host) {
            return;  // it takes the focus when the window does
        }
        ::SetFocus(target);
        if ((::SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
            ::SendMessageW(target, EM_SETSEL, 0, -1);  // as dialogs do on Tab
        }
        return;
    }
    HWND focus = ::GetFocus();
    if (focus != nullptr && focus != host && ::IsChild(host, focus)) {
        ::SetFocus(host);  // back from a native child; WM_SETFOCUS tells the rest
        return;
    }
    InvalidateCue();
    if (handle != 0 && hasFocus_) {
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, host, OBJID_CLIENT, handle);
    }
}

// ---- Life ----------------------------------------------------------------------------

void CBkHostFocus::Start() {
    focused_ = DefaultButton();
    if (focused_ == 0) {
        std::vector<std::int32_t> body;
        sections_.Body().AppendTabStops(body);
        const auto first =
            std::find_if(body.begin(), body.end(), [this](std::int32_t h) { return CanFocus(h); });
        focused_ = first != body.end() ? *first : 0;
    }
    displaced_ = false;
    cueShown_ = lastInputWasKeyboard || CuesAlwaysShown();
}

void CBkHostFocus::ScheduleCheck() {
    if (!checkPending_ && window_.Handle() != nullptr) {
        checkPending_ = ::PostMessageW(window_.Handle(), kMsgCheckFocus, 0, 0) != FALSE;
    }
}

void CBkHostFocus::Check() {
    checkPending_ = false;
    if (focused_ == 0) {
        return;
    }
    const std::int32_t fallback = DefaultButton();
    if (CanFocus(focused_)) {
        if (displaced_ && fallback != 0 && fallback != focused_) {
            displaced_ = false;
            SetFocusTo(fallback);
        }
        return;
    }
    const std::int32_t next = fallback != 0 ? fallback : Next(focused_, 1);
    displaced_ = fallback == 0;
    SetFocusTo(next);
}

void CBkHostFocus::Forget() {
    focused_ = 0;
    displaced_ = false;
}

// ---- Window messages ---------------------------------------------------------------

bool CBkHostFocus::OnSetFocus() {
    hasFocus_ = true;
    if (!CanFocus(focused_)) {
        Check();
    }
    const CBkWindow* control = focused_ != 0 ? BkControlRegistry::Lookup(focused_) : nullptr;
    if (control == nullptr) {
        return Next(0, 1) != 0;
    }
    if (control->FocusWindow() != nullptr) {
        SetFocusTo(focused_);
        return true;
    }
    InvalidateCue();
    ::NotifyWinEvent(EVENT_OBJECT_FOCUS, window_.Handle(), OBJID_CLIENT, focused_);
    return true;
}

void CBkHostFocus::OnKillFocus() {
    hasFocus_ = false;
    InvalidateCue();
}

void CBkHostFocus::OnUpdateUiState(WPARAM wParam) {
    if ((HIWORD(wParam) & UISF_HIDEFOCUS) == 0) {
        return;
    }
    bool shown = cueShown_;
    switch (LOWORD(wParam)) {
        case UIS_SET:
            shown = CuesAlwaysShown();
            break;
        case UIS_CLEAR:
            shown = true;
            break;
        case UIS_INITIALIZE:
            shown = lastInputWasKeyboard || CuesAlwaysShown();
            break;
        default:
            break;
    }
    if (shown != cueShown_) {
        cueShown_ = shown;
        InvalidateCue();
    }
}

void CBkHostFocus::OnPointerPress(std::int32_t pressed) {
    NoteInput(false);
    ChangeCue(false);
    if (pressed != 0 && pressed != focused_ && CanFocus(pressed)) {
        const CBkWindow* control = BkControlRegistry::Lookup(pressed);
        if (control != nullptr && control->FocusWindow() == nullptr) {
            FocusControl(pressed);
        }
    }
}

void CBkHostFocus::ChangeCue(bool show) const {
    if (show != cueShown_ && window_.Handle() != nullptr) {
        ::SendMessageW(window_.Handle(), WM_CHANGEUISTATE,
                       MAKEWPARAM(show ? UIS_CLEAR : UIS_SET, UISF_HIDEFOCUS), 0);
    }
}

// ---- Keys ------------------------------------------------------------------------------

bool CBkHostFocus::TranslateKey(const MSG& message) {
    HWND host = window_.Handle();
    HWND focus = ::GetFocus();
    if (message.message != WM_KEYDOWN || focus == nullptr ||
        (focus != host && !::IsChild(host, focus))) {
        return false;
    }
    NoteInput(true);
    const UINT key = static_cast<UINT>(message.wParam);
    if (focus != host) {
        // A native child keeps the keys it asks for, and all but these.
        const LRESULT code =
            ::SendMessageW(focus, WM_GETDLGCODE, message.wParam, AddressParam(message));
        if ((code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0 ||
            (key == VK_TAB && (code & DLGC_WANTTAB) != 0) ||
            (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE)) {
            return false;
        }
    }
    const bool repeat = (message.lParam & (1 << 30)) != 0;
    CBkWindow* control = focus == host ? BkControlRegistry::Lookup(Focused()) : nullptr;
    switch (key) {
        case VK_TAB:
            if (IsDown(VK_CONTROL) || Next(Current(), 1) == 0) {
                return false;  // no tab stop: the system's dialog rules
            }
            ChangeCue(true);
            Move(IsDown(VK_SHIFT));
            return true;
        case VK_SPACE:
            if (control == nullptr || !control->ActsOnClick()) {
                return false;
            }
            if (!repeat) {
                Activate(control->Handle());
            }
            return true;
        case VK_RETURN:
            if (!repeat) {
                OnEnter();
            }
            return true;
        case VK_ESCAPE:
            // What the system's dialog rules send: the window's close request.
            if (!repeat) {
                ::SendMessageW(host, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
            return true;
        default:
            return control != nullptr && OnArrow(*control, key);
    }
}

void CBkHostFocus::OnEnter() {
    HWND host = window_.Handle();
    const CBkWindow* control =
        ::GetFocus() == host ? BkControlRegistry::Lookup(Focused()) : nullptr;
    std::int32_t target = control != nullptr && control->ActsOnClick() ? control->Handle() : 0;
    if (target == 0) {
        target = DefaultButton();
    }
    if (target == 0) {
        ::SendMessageW(host, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
        Activate(target);
    }
}

bool CBkHostFocus::OnArrow(CBkWindow& control, UINT key) {
    int step = 0;
    if (key == VK_LEFT || key == VK_UP) {
        step = -1;
    } else if (key == VK_RIGHT || key == VK_DOWN) {
        step = 1;
    }
    const std::int32_t neighbour = step != 0 ? control.GroupNeighbour(step) : 0;
    if (neighbour != 0) {
        ChangeCue(true);
        if (FocusControl(neighbour)) {
            Activate(neighbour);  // an arrow selects, as in native radio groups
        }
        return true;
    }
    return control.ScrollByKey(key);
}

bool CBkHostFocus::Activate(std::int32_t handle) {
    CBkWindow* control = BkControlRegistry::Lookup(handle);
    return control != nullptr && control->IsVisible() && pointer_.Activate(*control);
}

// ---- The cue ---------------------------------------------------------------------------

void CBkHostFocus::InvalidateCue() const {
    const CBkWindow* control = focused_ != 0 ? BkControlRegistry::Lookup(focused_) : nullptr;
    if (control != nullptr && control->FocusWindow() == nullptr) {
        painter_.Invalidate(CueRect(*control));
    }
}

void CBkHostFocus::Paint(HDC dc, HRGN region) {
    const CBkWindow* control =
        cueShown_ && hasFocus_ ? BkControlRegistry::Lookup(Focused()) : nullptr;
    if (control == nullptr || !CanFocus(*control)) {
        return;
    }
    RECT rect = CueRect(*control);
    if (region != nullptr && !::RectInRegion(region, &rect)) {
        return;
    }
    if (!cueBrush_) {
        // Alternate pixels: a dotted line whose dots are dark and light.
        static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        cuePattern_.Reset(::CreateBitmap(8, 8, 1, 1, kChecker));
        cueBrush_.Reset(::CreatePatternBrush(cuePattern_.Get()));
    }
    ScopedSelectObject brush(dc, cueBrush_.Get());
    const COLORREF oldText = ::SetTextColor(dc, kCueDark);
    const COLORREF oldBack = ::SetBkColor(dc, kCueLight);
    ::InflateRect(&rect, -1, -1);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ::PatBlt(dc, rect.left, rect.top, width, 1, PATCOPY);
    ::PatBlt(dc, rect.left, rect.bottom - 1, width, 1, PATCOPY);
    ::PatBlt(dc, rect.left, rect.top, 1, height, PATCOPY);
    ::PatBlt(dc, rect.right - 1, rect.top, 1, height, PATCOPY);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

}  // namespace velora
