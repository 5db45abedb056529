#include "ui/accessible_events.h"

#include <oleacc.h>

#include "ui/bk_window.h"

namespace velora {

void RaiseAccessibleEvent(const CBkWindow& control, DWORD event) {
    if (control.Host() != nullptr) {
        ::NotifyWinEvent(event, control.Host(), OBJID_CLIENT, control.Handle());
    }
}

void RaiseAccessibleStateChange(const CBkWindow& control, ControlState before, ControlState after) {
    constexpr ControlState kRead =
        ControlState::kChecked | ControlState::kDisabled | ControlState::kHidden;
    const ControlState changed = ((before & ~after) | (after & ~before)) & kRead;
    if (changed == ControlState::kNone || control.Host() == nullptr) {
        return;
    }
    RaiseAccessibleEvent(control, EVENT_OBJECT_STATECHANGE);
    if (Has(changed, ControlState::kHidden) && control.IsContainer()) {
        ::NotifyWinEvent(EVENT_OBJECT_REORDER, control.Host(), OBJID_CLIENT, CHILDID_SELF);
    }
}

AccessibleReading ReadAccessible(const CBkWindow& control) {
    return AccessibleReading{control.AccessibleName(), control.AccessibleValue()};
}

void RaiseAccessibleChanges(const CBkWindow& control, const AccessibleReading& before) {
    if (control.Host() == nullptr) {
        return;
    }
    const AccessibleReading after = ReadAccessible(control);
    if (after.name != before.name) {
        RaiseAccessibleEvent(control, EVENT_OBJECT_NAMECHANGE);
    }
    if (after.value != before.value) {
        RaiseAccessibleEvent(control, EVENT_OBJECT_VALUECHANGE);
    }
}

}  // namespace velora
