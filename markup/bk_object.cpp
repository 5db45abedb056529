#include "markup/bk_object.h"

#include <tinyxml.h>

#include <cstring>

namespace velora {

bool MatchesTag(const char* tag, const char* own) {
    return tag != nullptr && own != nullptr && std::strcmp(tag, own) == 0;
}

bool CBkObject::Load(const TiXmlElement* element) {
    if (element != nullptr) {
        for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
            SetAttribute(a->Name() ? a->Name() : "", a->Value() ? a->Value() : "", true);
        }
    }
    OnAttributesLoaded();
    return true;
}

bool CBkObject::SetAttribute(const std::string&, const std::string&, bool) {
    return false;
}

}  // namespace velora
