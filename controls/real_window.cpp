#include "controls/real_window.h"

#include "controls/control_attributes.h"

namespace velora {

bool CBkRealWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRealWndEx::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

}  // namespace velora
