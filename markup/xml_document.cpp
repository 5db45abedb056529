#include "markup/xml_document.h"

#include <cstring>

#include "markup/value_parsers.h"

namespace velora {

bool BkXmlDocument::Parse(const std::string& text, const char* rootTag) {
    root_ = nullptr;
    document_.Clear();
    const char* start = text.c_str();
    if (std::strncmp(start, "\xEF\xBB\xBF", 3) == 0) {
        start += 3;
    }
    document_.Parse(start, nullptr, TIXML_ENCODING_UTF8);
    if (document_.Error()) {
        return false;
    }
    const TiXmlElement* root = document_.RootElement();
    if (root == nullptr || rootTag == nullptr || std::strcmp(root->Value(), rootTag) != 0) {
        return false;
    }
    root_ = root;
    return true;
}

const char* AttributeText(const TiXmlElement* element, const char* name) {
    return element != nullptr ? element->Attribute(name) : nullptr;
}

int AttributeInt(const TiXmlElement* element, const char* name) {
    return ParseDecimal(AttributeText(element, name));
}

std::string ElementText(const TiXmlElement* element) {
    if (element == nullptr) {
        return {};
    }
    for (const TiXmlNode* child = element->FirstChild(); child; child = child->NextSibling()) {
        if (const TiXmlText* text = child->ToText()) {
            return text->Value() ? text->Value() : "";
        }
    }
    return {};
}

}  // namespace velora
