#include "ui/accessible_tree.h"

#include <oleacc.h>

#include "ui/bk_window.h"
#include "ui/layout_sections.h"

namespace velora {
namespace {

bool Meets(const RECT& rect, const RECT& client) {
    RECT common;
    return ::IntersectRect(&common, &rect, &client) != FALSE;
}

}  // namespace

std::vector<const CBkWindow*> CollectAccessibleControls(const CBkLayoutSections& sections,
                                                        const RECT& client) {
    std::vector<const CBkWindow*> all;
    sections.Header().CollectAccessible(all);
    sections.Body().CollectAccessible(all);
    sections.Footer().CollectAccessible(all);
    std::vector<const CBkWindow*> met;
    for (const CBkWindow* control : all) {
        if (control->IsVisible() && Meets(control->Rect(), client)) {
            met.push_back(control);
        }
    }
    return met;
}

bool IsAccessibleFocusable(const CBkWindow& control) {
    return control.IsTabStop();
}

LONG AccessibleState(const CBkWindow& control, std::int32_t focused, const RECT& client) {
    LONG state = 0;
    if (!control.IsVisible()) {
        state |= STATE_SYSTEM_INVISIBLE;
    } else if (!Meets(control.Rect(), client)) {
        state |= STATE_SYSTEM_OFFSCREEN;
    }
    if (control.IsDisabled()) {
        state |= STATE_SYSTEM_UNAVAILABLE;
    } else if ((state & STATE_SYSTEM_INVISIBLE) == 0 && IsAccessibleFocusable(control)) {
        state |= STATE_SYSTEM_FOCUSABLE;
    }
    if (focused != 0 && control.Handle() == focused) {
        state |= STATE_SYSTEM_FOCUSED;
    }
    const DWORD role = control.AccessibleRole();
    const ControlState bits = control.State();
    if (Has(bits, ControlState::kChecked)) {
        // A button that stays down (a toggle) is pressed rather than checked.
        const bool checkable = role == ROLE_SYSTEM_CHECKBUTTON || role == ROLE_SYSTEM_RADIOBUTTON;
        state |= checkable ? STATE_SYSTEM_CHECKED : STATE_SYSTEM_PRESSED;
    }
    if (Has(bits, ControlState::kPushed)) {
        state |= STATE_SYSTEM_PRESSED;
    }
    if (Has(bits, ControlState::kHover)) {
        state |= STATE_SYSTEM_HOTTRACKED;
    }
    if (role == ROLE_SYSTEM_LINK) {
        state |= STATE_SYSTEM_LINKED;
    }
    if (role == ROLE_SYSTEM_DOCUMENT) {
        state |= STATE_SYSTEM_READONLY;
    }
    return state;
}

}  // namespace velora
