#include "markup/bk_object.h"

#include <tinyxml.h>

namespace velora {

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
