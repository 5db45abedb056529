#include "controls/text_controls.h"

#include <oleacc.h>

#include "ui/accessible_actions.h"

namespace velora {

bool CBkStatic::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkLink::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkButton::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

DWORD CBkLink::AccessibleRole() const {
    return ROLE_SYSTEM_LINK;
}

std::wstring CBkLink::AccessibleDefaultAction() const {
    return kActionJump;
}

DWORD CBkButton::AccessibleRole() const {
    return ROLE_SYSTEM_PUSHBUTTON;
}

std::wstring CBkButton::AccessibleDefaultAction() const {
    return kActionPress;
}

}  // namespace velora
