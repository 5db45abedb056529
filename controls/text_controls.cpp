#include "controls/text_controls.h"

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

}  // namespace velora
