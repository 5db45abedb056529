#pragma once

#include <windows.h>

#include <string>

#include "ui/control_state.h"

namespace velora {

class CBkWindow;

// Tells screen readers that `event` (EVENT_OBJECT_*) happened to `control`:
// NotifyWinEvent on its host's client object with the control's handle as
// the child id. Nothing while the control has no host window.
void RaiseAccessibleEvent(const CBkWindow& control, DWORD event);

// After a state change from `before` to `after`: a state-change event when
// the checked, disabled or hidden bit changed; a container shown or hidden
// also changes which controls the client object lists (a reorder event).
void RaiseAccessibleStateChange(const CBkWindow& control, ControlState before, ControlState after);

// What a screen reader reads of a control, kept to compare after a change.
struct AccessibleReading {
    std::wstring name;
    std::wstring value;
};
AccessibleReading ReadAccessible(const CBkWindow& control);
// Name-change and value-change events for what differs from `before`.
void RaiseAccessibleChanges(const CBkWindow& control, const AccessibleReading& before);

}  // namespace velora
