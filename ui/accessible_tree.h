#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace velora {

class CBkLayoutSections;
class CBkWindow;

// The controls of a host's sections that a screen reader is shown, in
// document order: shown, with a role, and at least partly inside `client`
// (a page placed below the window's edge is not met).
std::vector<const CBkWindow*> CollectAccessibleControls(const CBkLayoutSections& sections,
                                                        const RECT& client);

// The STATE_SYSTEM_* bits of `control`; `focused` is the handle of the
// control with the keyboard focus (0: none).
LONG AccessibleState(const CBkWindow& control, std::int32_t focused, const RECT& client);

// It can be focused while shown and enabled: it is a tab stop.
bool IsAccessibleFocusable(const CBkWindow& control);

}  // namespace velora
