#include "controls/list_child_tracker.h"

#include <shellapi.h>

#include "ui/bk_window.h"
#include "ui/control_registry.h"
#include "ui/notification.h"

namespace velora {
namespace {

LPARAM PointToLParam(POINT point) {
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

// Changes a child's state bits and repaints it when its look depends on them.
void ChangeState(CBkWindow& child, std::uint32_t add, std::uint32_t remove) {
    const std::uint32_t old = child.ModifyState(add, remove);
    if (old != child.State() && child.RedrawOnStateChange()) {
        child.RequestRepaint();
    }
}

CBkWindow* Lookup(std::int32_t handle) {
    return handle != 0 ? BkControlRegistry::Instance().Find(handle) : nullptr;
}

}  // namespace

CBkWindow* ListChildTracker::HoverChild() const {
    return Lookup(hover_);
}

CBkWindow* ListChildTracker::PressedChild() const {
    return Lookup(pressed_);
}

void ListChildTracker::Leave(CBkWindow& child) {
    ChangeState(child, 0, kStateHover);
    child.SendControlMessage(WM_MOUSELEAVE);
    ReportEvent(ListEvent::kLeave, child);
}

void ListChildTracker::RouteMouseMove(POINT point, WPARAM keys) {
    if (CBkWindow* pressed = PressedChild()) {
        pressed->SendControlMessage(WM_MOUSEMOVE, keys, PointToLParam(point));
        return;
    }
    CBkWindow* hit = ChildAt(point);
    if (hit != nullptr && hit->IsDisabled()) {
        hit = nullptr;  // a disabled child takes no hover
    }
    CBkWindow* previous = HoverChild();
    if (hit == nullptr) {
        if (previous != nullptr) {
            Leave(*previous);
        }
        hover_ = 0;
        return;
    }
    hit->SendControlMessage(WM_MOUSEMOVE, keys, PointToLParam(point));
    if (hit == previous) {
        return;
    }
    ReportEvent(ListEvent::kHover, *hit);
    if (previous != nullptr) {
        Leave(*previous);
    }
    ChangeState(*hit, kStateHover, 0);
    hover_ = hit->Handle();
    ReportToolTip();
}

void ListChildTracker::RouteLButtonDown(POINT point, WPARAM keys) {
    CBkWindow* hit = ChildAt(point);
    if (hit == nullptr || hit->IsDisabled()) {
        return;
    }
    pressed_ = hit->Handle();
    ChangeState(*hit, kStatePushed, 0);
    hit->SendControlMessage(WM_LBUTTONDOWN, keys, PointToLParam(point));
    ReportEvent(ListEvent::kLButtonDown, *hit);
}

void ListChildTracker::RouteLButtonUp(POINT point, WPARAM keys) {
    CBkWindow* pressed = PressedChild();
    pressed_ = 0;
    if (pressed == nullptr) {
        return;
    }
    ChangeState(*pressed, 0, kStatePushed);
    pressed->SendControlMessage(WM_LBUTTONUP, keys, PointToLParam(point));
    if (ChildAt(point) != pressed) {
        Leave(*pressed);
        if (pressed->Handle() == hover_) {
            hover_ = 0;
        }
        return;
    }
    if (OpensLinks() && !pressed->Href().empty()) {
        ::ShellExecuteW(nullptr, L"open", pressed->Href().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    ReportEvent(ListEvent::kClick, *pressed);
}

void ListChildTracker::RouteRButtonDown(POINT point, WPARAM keys) {
    if (CBkWindow* hit = ChildAt(point)) {
        hit->SendControlMessage(WM_RBUTTONDOWN, keys, PointToLParam(point));
        ReportEvent(ListEvent::kRButtonDown, *hit);
    }
}

void ListChildTracker::RouteRButtonUp(POINT point, WPARAM keys) {
    if (CBkWindow* hit = ChildAt(point)) {
        hit->SendControlMessage(WM_RBUTTONUP, keys, PointToLParam(point));
        ReportEvent(ListEvent::kRButtonUp, *hit);
    }
}

void ListChildTracker::RouteDoubleClick(POINT point, WPARAM keys) {
    if (CBkWindow* hit = ChildAt(point)) {
        hit->SendControlMessage(WM_LBUTTONDBLCLK, keys, PointToLParam(point));
        ReportEvent(ListEvent::kDoubleClick, *hit);
    }
}

void ListChildTracker::RouteMouseLeave() {
    CBkWindow* hovered = HoverChild();
    CBkWindow* pressed = PressedChild();
    hover_ = 0;
    pressed_ = 0;
    if (pressed != nullptr && pressed != hovered) {
        ChangeState(*pressed, 0, kStatePushed);
        pressed->SendControlMessage(WM_MOUSELEAVE);
    }
    if (hovered != nullptr) {
        ChangeState(*hovered, 0, kStatePushed);
        Leave(*hovered);
    }
}

void SendListNotify(const CBkWindow& list, int event, int itemIndex, const CBkWindow& control,
                    const CBkWindow* child) {
    HWND host = list.Host();
    if (host == nullptr) {
        return;
    }
    BkNotifyList record = {};
    record.hdr.hwndFrom = host;
    record.hdr.idFrom = kHostNotifySource;
    record.hdr.code = kNotifyList;
    record.listId = list.Id();
    record.event = event;
    record.itemIndex = itemIndex;
    record.listClass = list.GetObjectClass();
    record.controlId = control.Id();
    record.controlClass = control.GetObjectClass();
    if (child != nullptr) {
        record.childId = child->Id();
        record.childClass = child->GetObjectClass();
    }
    ::SendMessageW(host, WM_NOTIFY, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&record));
}

}  // namespace velora
