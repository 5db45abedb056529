#include "markup/xml_document.h"

#include <cstring>

#include "markup/value_parsers.h"

namespace velora {

namespace {

// Where `end` starts at or after `from`, or the terminator when it never does.
const char* SkipPast(const char* from, const char* end) {
    const char* found = std::strstr(from, end);
    return found != nullptr ? found + std::strlen(end) : from + std::strlen(from);
}

}  // namespace

int ElementDepth(const char* text, int limit) {
    int depth = 0;
    int deepest = 0;
    const char* at = text;
    while (at != nullptr && *at != '\0' && deepest <= limit) {
        if (*at != '<') {
            ++at;
            continue;
        }
        if (std::strncmp(at, "<!--", 4) == 0) {
            at = SkipPast(at + 4, "-->");
        } else if (std::strncmp(at, "<![CDATA[", 9) == 0) {
            at = SkipPast(at + 9, "]]>");
        } else if (at[1] == '?' || at[1] == '!') {
            at = SkipPast(at + 2, ">");
        } else if (at[1] == '/') {
            depth = depth > 0 ? depth - 1 : 0;
            at = SkipPast(at + 2, ">");
        } else {
            // An opening tag: find its end outside quoted values.
            char quote = '\0';
            const char* end = at + 1;
            for (; *end != '\0'; ++end) {
                if (quote != '\0') {
                    quote = *end == quote ? '\0' : quote;
                } else if (*end == '"' || *end == '\'') {
                    quote = *end;
                } else if (*end == '>') {
                    break;
                }
            }
            const bool selfClosing = *end == '>' && end[-1] == '/';
            deepest = depth + 1 > deepest ? depth + 1 : deepest;
            if (!selfClosing) {
                ++depth;
            }
            at = *end != '\0' ? end + 1 : end;
        }
    }
    return deepest;
}

bool BkXmlDocument::Parse(const std::string& text, const char* rootTag) {
    root_ = nullptr;
    document_.Clear();
    const char* start = text.c_str();
    if (std::strncmp(start, "\xEF\xBB\xBF", 3) == 0) {
        start += 3;
    }
    if (ElementDepth(start, kMaxElementDepth) > kMaxElementDepth) {
        return false;
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
