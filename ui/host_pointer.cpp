#include "ui/host_pointer.h"

#include "ui/host_link.h"
#include "ui/bk_window.h"
#include "ui/control_registry.h"
#include "ui/host_painter.h"
#include "ui/host_tool_tip.h"
#include "ui/layout_sections.h"
#include "ui/notification.h"
#include "ui/window_impl.h"

namespace velora {
namespace {

constexpr int kBorder = 4;
constexpr UINT kSysCommandMoveByCaption = 0xF012;
constexpr UINT kSysCommandRestoreByCaption = 0xF122;
constexpr UINT kSysCommandMaximizeByCaption = 0xF032;

// The host reports every move instead of the entering one; 0: not reported.
constexpr UINT kNotifyCodes[] = {0,
                                 kNotifyLButtonDown,
                                 kNotifyClick,
                                 kNotifyRButtonDown,
                                 kNotifyRightClick,
                                 kNotifyLeave,
                                 kNotifyDoubleClick,
                                 kNotifyHover};

// The cursor of a border code, or null inside the window.
const wchar_t* SizingCursor(int hitCode) {
    switch (hitCode) {
        case HTLEFT:
        case HTRIGHT:
            return IDC_SIZEWE;
        case HTTOP:
        case HTBOTTOM:
            return IDC_SIZENS;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            return IDC_SIZENWSE;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            return IDC_SIZENESW;
        default:
            return nullptr;
    }
}

POINT PointFrom(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

CBkHostPointer::CBkHostPointer(const CBkWindowImpl& window, CBkLayoutSections& sections,
                               CBkHostPainter& painter, CBkHostToolTip& toolTip)
    : window_(window),
      sections_(sections),
      painter_(painter),
      toolTip_(toolTip),
      tracker_(*this, PointerRules{true, true, true}) {}

// ---- Messages -------------------------------------------------------------------

void CBkHostPointer::OnMouseMove(WPARAM keys, LPARAM lParam) {
    toolTip_.OnMove(keys, lParam, !trackingLeave_);
    CBkHostPainter::Batch batch(painter_);
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = window_.Handle();
        trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
    }
    tracker_.Move(PointFrom(lParam), keys, hitCode_ == HTCLIENT);
}

void CBkHostPointer::OnLButtonDown(WPARAM keys, LPARAM lParam) {
    HWND window = window_.Handle();
    const POINT point = PointFrom(lParam);
    if (sections_.Description().resizable && hitCode_ >= HTLEFT && hitCode_ <= HTBOTTOMRIGHT) {
        POINT screen = point;
        ::ClientToScreen(window, &screen);
        ::SendMessageW(window, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hitCode_),
                       MAKELPARAM(screen.x, screen.y));
        return;
    }
    if (!DragByHeader(point)) {
        tracker_.Press(point, keys);
    }
}

bool CBkHostPointer::DragByHeader(POINT point) {
    const CBkWindow* hit = BkControlRegistry::Lookup(sections_.HitTest(point.x, point.y, true));
    if (hit == nullptr || hit->TakesHeaderPress() || hit->AcceptsHeaderLButtonDown() ||
        sections_.IsChildWindow()) {
        return false;
    }
    HWND window = window_.Handle();
    ::SetFocus(window);
    if (!::IsIconic(window) && sections_.Description().movable) {
        ::SendMessageW(window, WM_SYSCOMMAND, kSysCommandMoveByCaption, 0);
    }
    return true;
}

void CBkHostPointer::OnLButtonUp(WPARAM keys, LPARAM lParam) {
    ::SetFocus(window_.Handle());
    ReleaseMouse();
    tracker_.Release(PointFrom(lParam), keys);
}

void CBkHostPointer::OnLButtonDoubleClick(WPARAM keys, LPARAM lParam) {
    HWND window = window_.Handle();
    const POINT point = PointFrom(lParam);
    // The second press of a fast double click on a check box or radio button
    // is a press of its own, whose release clicks again, as on a native one.
    if (const CBkWindow* hit = ControlAt(point)) {
        if (hit->DoubleClickIsPress()) {
            OnLButtonDown(keys, lParam);
            return;
        }
    }
    const CBkWindow* header = BkControlRegistry::Lookup(sections_.HitTest(point.x, point.y, true));
    if (header != nullptr && !header->TakesHeaderDoubleClick() &&
        sections_.Description().resizable) {
        const bool maximised = (::GetWindowLongPtrW(window, GWL_STYLE) & WS_MAXIMIZE) != 0;
        ::SendMessageW(window, WM_SYSCOMMAND,
                       maximised ? kSysCommandRestoreByCaption : kSysCommandMaximizeByCaption, 0);
        return;
    }
    ::SetFocus(window);
    tracker_.Forward(WM_LBUTTONDBLCLK, PointerEvent::kDoubleClick, point, keys);
}

void CBkHostPointer::OnRButtonDown(WPARAM keys, LPARAM lParam) {
    tracker_.RightPress(PointFrom(lParam), keys);
}

void CBkHostPointer::OnRButtonUp(WPARAM keys, LPARAM lParam) {
    // Released even when the control has gone meanwhile; only a left press
    // still going on keeps the mouse.
    if (tracker_.RightPressedHandle() != 0 && tracker_.PressedHandle() == 0) {
        ReleaseMouse();
    }
    tracker_.RightRelease(PointFrom(lParam), keys);
}

void CBkHostPointer::OnMouseLeave() {
    trackingLeave_ = false;
    if (!tracker_.Leave()) {
        Notify(kNotifyLeave, nullptr);  // the dialog hears of every leave
    }
}

void CBkHostPointer::OnCaptureChanged(HWND owner) {
    // Taken away (another window, a menu, a move loop) rather than released
    // by a button-up: the press ends without a click.
    if (captured_ && owner != window_.Handle()) {
        captured_ = false;
        tracker_.CancelPress();
    }
}

LRESULT CBkHostPointer::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    CBkWindow* hovered = tracker_.Hovered();
    return hovered != nullptr ? hovered->SendControlMessage(WM_MOUSEWHEEL, wParam, lParam) : 0;
}

void CBkHostPointer::ReleaseMouse() {
    if (captured_) {
        captured_ = false;
        ::ReleaseCapture();
    }
}

// ---- Border and cursor ------------------------------------------------------------

void CBkHostPointer::OnNcHitTest(LPARAM lParam) {
    if (sections_.Description().resizable && !sections_.IsChildWindow()) {
        POINT client = PointFrom(lParam);
        ::ScreenToClient(window_.Handle(), &client);
        hitCode_ = BorderHitCode(client);
    }
}

int CBkHostPointer::BorderHitCode(POINT p) const {
    RECT client;
    ::GetClientRect(window_.Handle(), &client);
    RECT inner = client;
    ::InflateRect(&inner, -kBorder, -kBorder);
    if (::PtInRect(&inner, p)) {
        return HTCLIENT;
    }
    const bool left = p.x < client.left + kBorder;
    const bool right = p.x >= client.right - kBorder;
    const bool top = p.y < client.top + kBorder;
    const bool bottom = p.y >= client.bottom - kBorder;
    if (top && left)
        return HTTOPLEFT;
    if (top && right)
        return HTTOPRIGHT;
    if (top)
        return HTTOP;
    if (left && !bottom)
        return HTLEFT;
    if (bottom && left)
        return HTBOTTOMLEFT;
    if (bottom && !right)
        return HTBOTTOM;
    if (bottom && right)
        return HTBOTTOMRIGHT;
    if (right)
        return HTRIGHT;
    return HTCLIENT;
}

bool CBkHostPointer::OnSetCursor() {
    if (CBkWindow* hovered = tracker_.Hovered()) {
        if (hovered->IsNativeWindowPlaceholder()) {
            return false;
        }
        if (!hovered->IsDisabled()) {
            hovered->SetControlCursor();
        }
    } else {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    }
    if (const wchar_t* sizing = SizingCursor(hitCode_)) {
        ::SetCursor(::LoadCursorW(nullptr, sizing));
    }
    return true;
}

// ---- What the tracker asks of the host ----------------------------------------------

CBkWindow* CBkHostPointer::ControlAt(POINT point) {
    return BkControlRegistry::Lookup(sections_.HitTest(point.x, point.y));
}

void CBkHostPointer::Notify(UINT code, const CBkWindow* control, const char* classTag) const {
    HWND window = window_.Handle();
    BkNotify record = {};
    record.hdr.hwndFrom = window;
    record.hdr.idFrom = kHostNotifySource;
    record.hdr.code = code;
    record.controlId = control ? static_cast<UINT>(control->Id()) : 0;
    record.classTag = classTag;
    NotifyHost(window, static_cast<WPARAM>(-1), record.hdr);
}

void CBkHostPointer::Report(PointerEvent event, CBkWindow& control) {
    const UINT code = kNotifyCodes[static_cast<int>(event)];
    if (code == 0) {
        return;
    }
    const bool tagged = code == kNotifyClick || code == kNotifyDoubleClick;
    Notify(code, &control, tagged ? control.GetObjectClass() : nullptr);
}

void CBkHostPointer::ChangeState(CBkWindow& control, ControlState add, ControlState remove) {
    control.ModifyState(add, remove);
    if (control.RedrawOnStateChange() && control.IsVisible()) {
        painter_.Invalidate(control.Rect());
    }
}

void CBkHostPointer::HoverChanged(CBkWindow& control) {
    toolTip_.FollowHover(control.GetToolTipText());
}

bool CBkHostPointer::HoldPointer(bool left) {
    if (captured_) {
        return !left;  // a left press is refused while the mouse is held
    }
    ::SetCapture(window_.Handle());
    captured_ = true;
    return true;
}

bool CBkHostPointer::OpenLink(const CBkWindow& control) {
    OpenControlLink(window_.Handle(), control);
    return true;
}

}  // namespace velora
