#include "ui/pointer_tracker.h"

#include <shellapi.h>

#include "ui/bk_window.h"
#include "ui/control_registry.h"

namespace velora {
namespace {

LPARAM PackPoint(POINT point) {
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

}  // namespace

CBkWindow* PointerTracker::Hovered() const {
    return BkControlRegistry::Lookup(hovered_);
}

void PointerTracker::ReportIfAlive(PointerEvent event, std::int32_t handle) {
    if (CBkWindow* control = BkControlRegistry::Lookup(handle)) {
        sink_.Report(event, *control);
    }
}

void PointerTracker::Move(POINT point, WPARAM keys, bool overContent) {
    if (CBkWindow* pressed = BkControlRegistry::Lookup(pressed_)) {
        pressed->SendControlMessage(WM_MOUSEMOVE, keys, PackPoint(point));
        return;
    }
    CBkWindow* hit = overContent ? sink_.ControlAt(point) : nullptr;
    if (hit != nullptr && !rules_.disabledHovers && hit->IsDisabled()) {
        hit = nullptr;
    }
    if (hit != nullptr) {
        MoveOver(*hit, point, keys);
        return;
    }
    const std::int32_t left = hovered_;
    hovered_ = 0;
    LeaveHovered(left, true);
}

void PointerTracker::MoveOver(CBkWindow& hit, POINT point, WPARAM keys) {
    const std::int32_t handle = hit.Handle();
    const bool disabled = hit.IsDisabled();
    if (!disabled) {
        hit.SendControlMessage(WM_MOUSEMOVE, keys, PackPoint(point));
    }
    ReportIfAlive(PointerEvent::kMove, handle);
    if (handle == hovered_) {
        return;  // the common case: nothing but the hit test and the move report
    }
    ReportIfAlive(PointerEvent::kHover, handle);
    LeaveHovered(hovered_, false);
    CBkWindow* entered = BkControlRegistry::Lookup(handle);
    if (entered == nullptr) {
        hovered_ = 0;
        return;
    }
    if (!disabled) {
        sink_.ChangeState(*entered, ControlState::kHover, ControlState::kNone);
    }
    hovered_ = handle;
    sink_.HoverChanged(*entered);
}

void PointerTracker::LeaveHovered(std::int32_t handle, bool overNothing) {
    CBkWindow* left = BkControlRegistry::Lookup(handle);
    if (left == nullptr) {
        return;
    }
    // A disabled control that is hovered was never entered, so it is not
    // left either; only a move onto nothing clears a hover bit it kept from
    // before it was disabled.
    const bool quiet = rules_.disabledHovers && left->IsDisabled();
    if (quiet && !overNothing) {
        return;
    }
    sink_.ChangeState(*left, ControlState::kNone, ControlState::kHover);
    if (quiet) {
        return;
    }
    left->SendControlMessage(WM_MOUSELEAVE);
    ReportIfAlive(PointerEvent::kLeave, handle);
}

void PointerTracker::Press(POINT point, WPARAM keys) {
    CBkWindow* hit = sink_.ControlAt(point);
    if (hit == nullptr || hit->IsDisabled() || !sink_.HoldPointer(true)) {
        return;
    }
    const std::int32_t handle = hit->Handle();
    if (rules_.pressHovers) {
        hovered_ = handle;
    }
    pressed_ = handle;
    sink_.ChangeState(*hit, ControlState::kPushed, ControlState::kNone);
    hit->SendControlMessage(WM_LBUTTONDOWN, keys, PackPoint(point));
    ReportIfAlive(PointerEvent::kLButtonDown, handle);
}

void PointerTracker::Release(POINT point, WPARAM keys) {
    const CBkWindow* under = sink_.ControlAt(point);
    EndPress(point, keys, under != nullptr ? under->Handle() : 0);
}

bool PointerTracker::Activate(CBkWindow& control) {
    if (control.IsDisabled() || pressed_ != 0) {
        return false;
    }
    const RECT& rect = control.Rect();
    const POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    const std::int32_t handle = control.Handle();
    pressed_ = handle;
    sink_.ChangeState(control, ControlState::kPushed, ControlState::kNone);
    control.SendControlMessage(WM_LBUTTONDOWN, MK_LBUTTON, PackPoint(centre));
    ReportIfAlive(PointerEvent::kLButtonDown, handle);
    EndPress(centre, 0, handle);
    return true;
}

void PointerTracker::EndPress(POINT point, WPARAM keys, std::int32_t underHandle) {
    // The press is over before anything is sent: a click handler may run a
    // nested modal loop, or destroy the control.
    const std::int32_t handle = pressed_;
    pressed_ = 0;
    CBkWindow* pressed = BkControlRegistry::Lookup(handle);
    if (pressed == nullptr) {
        return;
    }
    sink_.ChangeState(*pressed, ControlState::kNone, ControlState::kPushed);
    pressed->SendControlMessage(WM_LBUTTONUP, keys, PackPoint(point));
    if ((pressed = BkControlRegistry::Lookup(handle)) == nullptr) {
        return;
    }
    if (underHandle == handle) {
        Click(*pressed);
    } else {
        EndPressAway(*pressed);
    }
}

void PointerTracker::Click(CBkWindow& control) {
    if (!control.Href().empty() && sink_.OpenLink(control)) {
        return;
    }
    if (rules_.silentWithoutId && control.Id() == 0) {
        return;
    }
    sink_.Report(PointerEvent::kClick, control);
}

void PointerTracker::EndPressAway(CBkWindow& control) {
    const std::int32_t handle = control.Handle();
    sink_.ChangeState(control, ControlState::kNone, ControlState::kHover);
    control.SendControlMessage(WM_MOUSELEAVE);
    CBkWindow* pressed = BkControlRegistry::Lookup(handle);
    if (pressed == nullptr || (rules_.silentWithoutId && pressed->Id() == 0)) {
        return;
    }
    sink_.Report(PointerEvent::kLeave, *pressed);
    if (handle == hovered_) {
        hovered_ = 0;
    }
}

void PointerTracker::RightPress(POINT point, WPARAM keys) {
    CBkWindow* hit = sink_.ControlAt(point);
    rightPressed_ = hit != nullptr ? hit->Handle() : 0;
    if (hit == nullptr) {
        return;  // nothing to hold the pointer for
    }
    sink_.HoldPointer(false);
    const std::int32_t handle = hit->Handle();
    hit->SendControlMessage(WM_RBUTTONDOWN, keys, PackPoint(point));
    ReportIfAlive(PointerEvent::kRButtonDown, handle);
}

void PointerTracker::RightRelease(POINT point, WPARAM keys) {
    const CBkWindow* under = sink_.ControlAt(point);
    const std::int32_t handle = rightPressed_;
    rightPressed_ = 0;
    CBkWindow* pressed = BkControlRegistry::Lookup(handle);
    if (pressed == nullptr || under != pressed) {
        return;
    }
    pressed->SendControlMessage(WM_RBUTTONUP, keys, PackPoint(point));
    ReportIfAlive(PointerEvent::kRButtonUp, handle);
}

void PointerTracker::Forward(UINT message, PointerEvent event, POINT point, WPARAM keys) {
    CBkWindow* hit = sink_.ControlAt(point);
    if (hit == nullptr) {
        return;
    }
    const std::int32_t handle = hit->Handle();
    hit->SendControlMessage(message, keys, PackPoint(point));
    ReportIfAlive(event, handle);
}

bool PointerTracker::Leave() {
    const std::int32_t hovered = hovered_;
    const std::int32_t pressed = pressed_;
    hovered_ = 0;
    pressed_ = 0;
    if (pressed != hovered) {
        if (CBkWindow* held = BkControlRegistry::Lookup(pressed)) {
            sink_.ChangeState(*held, ControlState::kNone, ControlState::kPushed);
            held->SendControlMessage(WM_MOUSELEAVE);
        }
    }
    if (CBkWindow* left = BkControlRegistry::Lookup(hovered)) {
        sink_.ChangeState(*left, ControlState::kNone, ControlState::kHover);
        left->SendControlMessage(WM_MOUSELEAVE);
    }
    if (pressed == hovered) {
        if (CBkWindow* held = BkControlRegistry::Lookup(pressed)) {
            sink_.ChangeState(*held, ControlState::kNone, ControlState::kPushed);
        }
    }
    CBkWindow* left = BkControlRegistry::Lookup(hovered);
    if (left == nullptr) {
        return false;
    }
    sink_.Report(PointerEvent::kLeave, *left);
    return true;
}

void PointerTracker::CancelPress() {
    rightPressed_ = 0;
    const std::int32_t handle = pressed_;
    pressed_ = 0;
    if (CBkWindow* pressed = BkControlRegistry::Lookup(handle)) {
        sink_.ChangeState(*pressed, ControlState::kNone, ControlState::kPushed);
    }
}

void OpenControlLink(HWND owner, const CBkWindow& control) {
    ::ShellExecuteW(owner, L"open", control.Href().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace velora
