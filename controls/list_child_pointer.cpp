#include "controls/list_child_pointer.h"

#include "ui/host_link.h"
#include "ui/bk_window.h"
#include "ui/host_messages.h"
#include "ui/notification.h"

namespace velora {

bool ListChildPointer::RouteMouse(UINT message, WPARAM keys, LPARAM lParam) {
    const POINT point = {static_cast<short>(LOWORD(lParam)) - owner_.Rect().left,
                         static_cast<short>(HIWORD(lParam)) - owner_.Rect().top};
    switch (message) {
        case WM_MOUSEMOVE:
            tracker_.Move(point, keys);
            return true;
        case WM_LBUTTONDOWN:
            tracker_.Press(point, keys);
            return true;
        case WM_LBUTTONUP:
            tracker_.Release(point, keys);
            return true;
        case WM_RBUTTONDOWN:
            tracker_.Forward(message, PointerEvent::kRButtonDown, point, keys);
            return true;
        case WM_RBUTTONUP:
            tracker_.Forward(message, PointerEvent::kRButtonUp, point, keys);
            return true;
        case WM_LBUTTONDBLCLK:
            tracker_.Forward(message, PointerEvent::kDoubleClick, point, keys);
            return true;
        case WM_MOUSELEAVE:
            tracker_.Leave();
            return true;
        default:
            return false;
    }
}

const std::wstring& ListChildPointer::HoverChildTipOr(const std::wstring& own) const {
    const CBkWindow* hovered = HoverChild();
    return hovered != nullptr ? hovered->GetToolTipText() : own;
}

bool ListChildPointer::SetHoverChildCursor() const {
    CBkWindow* hovered = HoverChild();
    if (hovered == nullptr) {
        return false;
    }
    hovered->SetControlCursor();
    return true;
}

void ListChildPointer::Report(PointerEvent event, CBkWindow& control) {
    if (event != PointerEvent::kMove) {
        ReportEvent(event, control);  // lists report entering, not every move
    }
}

void ListChildPointer::ChangeState(CBkWindow& child, ControlState add, ControlState remove) {
    const ControlState old = child.ModifyState(add, remove);
    if (old != child.State() && child.RedrawOnStateChange()) {
        child.RequestRepaint();
    }
}

void ListChildPointer::HoverChanged(CBkWindow& /*child*/) {
    // The host's tip follows the owner's, which is the hover child's.
    if (owner_.Host() != nullptr) {
        SetHostToolTipText(owner_.Host(), owner_.GetToolTipText().c_str());
    }
}

bool ListChildPointer::OpenLink(const CBkWindow& child) {
    if (!OpensLinks()) {
        return false;
    }
    OpenControlLink(nullptr, child);
    return true;
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
    NotifyHost(host, static_cast<WPARAM>(-1), record.hdr);
}

}  // namespace velora
