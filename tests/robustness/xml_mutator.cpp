#include "tests/robustness/xml_mutator.h"

#include <tinyxml.h>

#include <vector>

#include "markup/xml_document.h"

namespace velora::test {
namespace {

// Attribute names and tags found in the installer's own documents, so that
// added attributes and renamed elements hit code paths that read them.
const char* const kAttributeNames[] = {
    "pos",          "id",        "class",       "skin",        "crbg",       "crtext",
    "font",         "width",     "height",      "src",         "subwidth",   "margin_left",
    "margin_right", "left",      "top",         "show",        "visible",    "disable",
    "valign",       "align",     "crhover",     "crpush",      "crdisabled", "hoverskin",
    "text",         "tip",       "href",        "resize",      "noborder",   "size",
    "from",         "to",        "mode",        "max",         "value",      "step",
    "count",        "title",     "appwin",      "name",        "ncskin",     "itemheight",
    "linespacing",  "multiline", "endellipsis", "transparent", "check",      "fliptype",
    "middle_tile",  "stretch-x", "stretch-y",   "minheight",   "minwidth"};
const char* const kTags[] = {"dlg",    "text",     "button", "img",      "imgbtn",  "check",
                             "radio",  "progress", "link",   "richtext", "listwnd", "edit",
                             "header", "body",     "footer", "tabctrl",  "tab",     "png",
                             "imglst", "skinpng",  "class",  "string",   "layer",   "hr"};
const char* const kValues[] = {"",
                               "-1",
                               "0",
                               "2147483647",
                               "-2147483648",
                               "4294967296",
                               "99999999999999999999999999",
                               "1e308",
                               "0x",
                               "#",
                               "-",
                               ",,,",
                               "10,20",
                               "0,0,-0,-0",
                               "-9999,-9999,9999,9999",
                               "%",
                               "%s%s%n%d",
                               "FFFFFFFFFF",
                               "NaN",
                               "1,2,3,4,5,6,7,8",
                               "|-|-|",
                               "+-+-",
                               "-0",
                               "65535",
                               "-65536",
                               "60000",
                               "0,0,0,0",
                               "999999,999999,-999999,-999999"};

// Every element below `node`, in document order.
void CollectElements(TiXmlNode* node, std::vector<TiXmlElement*>& out) {
    for (TiXmlNode* child = node->FirstChild(); child != nullptr; child = child->NextSibling()) {
        if (TiXmlElement* element = child->ToElement()) {
            out.push_back(element);
            CollectElements(element, out);
        }
    }
}

}  // namespace

std::size_t XmlMutator::Below(std::size_t bound) {
    if (bound == 0) {
        return 0;
    }
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
}

std::string XmlMutator::InterestingValue() {
    if (Chance(20)) {
        return LongString();
    }
    if (Chance(20)) {
        return std::to_string(static_cast<long long>(random_()) - 0x7FFFFFFF) + "," +
               std::to_string(random_());
    }
    return kValues[Below(std::size(kValues))];
}

std::string XmlMutator::LongString() {
    static const char* const kPieces[] = {"A", "9", ",", "\xE4\xB8\xAD", "%s", "-", " ", "&amp;"};
    const std::size_t lengths[] = {300, 5000, 70000, 300000};
    const std::string piece = kPieces[Below(std::size(kPieces))];
    const std::size_t length = lengths[Below(std::size(lengths))];
    std::string out;
    out.reserve(length + piece.size());
    while (out.size() < length) {
        out += piece;
    }
    return out;
}

void XmlMutator::FlipBytes(std::string& text) {
    if (text.empty()) {
        return;
    }
    const std::size_t flips = 1 + Below(8);
    for (std::size_t i = 0; i < flips; ++i) {
        char& byte = text[Below(text.size())];
        if (Chance(50)) {
            byte = static_cast<char>(byte ^ (1 << Below(8)));
        } else {
            static const char kSpecial[] = "<>/\"'=&;!?[]\0\xFF";
            byte = kSpecial[Below(sizeof(kSpecial) - 1)];
        }
    }
}

void XmlMutator::Truncate(std::string& text) {
    text.resize(Below(text.size() + 1));
}

void XmlMutator::DuplicateAttribute(std::string& text) {
    // Find ` name="value"` after a random point and repeat it in place.
    const std::size_t from = Below(text.size() + 1);
    const std::size_t equals = text.find("=\"", from);
    if (equals == std::string::npos) {
        return;
    }
    const std::size_t nameStart = text.rfind(' ', equals);
    const std::size_t valueEnd = text.find('"', equals + 2);
    if (nameStart == std::string::npos || valueEnd == std::string::npos) {
        return;
    }
    const std::string attribute = text.substr(nameStart, valueEnd + 1 - nameStart);
    const std::size_t copies = 1 + Below(3);
    for (std::size_t i = 0; i < copies; ++i) {
        text.insert(valueEnd + 1, attribute);
    }
}

void XmlMutator::InsertDeepNesting(std::string& text) {
    // Wrap whatever follows the first element inside the root in many levels.
    const std::size_t depths[] = {20, 200, 2000, 20000};
    const std::size_t depth = depths[Below(std::size(depths))];
    const std::string tag = kTags[Below(std::size(kTags))];
    const std::size_t rootEnd = text.find('>', text.find('<', text.find("?>") + 1));
    if (rootEnd == std::string::npos) {
        return;
    }
    std::string open;
    std::string close;
    const std::string attributes = Chance(50) ? " pos=\"0,0,-0,-0\"" : "";
    for (std::size_t i = 0; i < depth; ++i) {
        open += "<" + tag + attributes + ">";
        close += "</" + tag + ">";
    }
    text.insert(rootEnd + 1, open + close);
    if (Chance(30)) {
        text.insert(rootEnd + 1 + open.size(), "<text pos=\"0,0\">x</text>");
    }
}

bool XmlMutator::MutateTree(std::string& text, int kind) {
    // The parser recurses per level; a document nested deeply by an earlier
    // mutation would overflow this program's own stack.
    if (ElementDepth(text.c_str(), kMaxElementDepth) > kMaxElementDepth) {
        return false;
    }
    TiXmlDocument document;
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (document.Error()) {
        return false;
    }
    std::vector<TiXmlElement*> elements;
    CollectElements(&document, elements);
    if (elements.size() < 2) {
        return false;
    }
    // Never the root: the document must keep one.
    TiXmlElement* element = elements[1 + Below(elements.size() - 1)];
    TiXmlNode* parent = element->Parent();
    switch (kind) {
        case 0: {  // duplicated element, sometimes many times
            const std::size_t copies = Chance(20) ? 50 + Below(200) : 1 + Below(3);
            for (std::size_t i = 0; i < copies; ++i) {
                parent->InsertAfterChild(element, *element);
            }
            break;
        }
        case 1:  // deleted element
            parent->RemoveChild(element);
            break;
        case 2: {  // deleted attribute
            TiXmlAttribute* attribute = element->FirstAttribute();
            for (std::size_t skip = Below(4); attribute != nullptr && skip > 0; --skip) {
                attribute = attribute->Next();
            }
            if (attribute != nullptr) {
                element->RemoveAttribute(attribute->Name());
            }
            break;
        }
        case 3: {  // existing attribute set to an extreme value
            TiXmlAttribute* attribute = element->FirstAttribute();
            for (std::size_t skip = Below(4); attribute != nullptr && skip > 0; --skip) {
                attribute = attribute->Next();
            }
            const std::string value = InterestingValue();
            if (attribute != nullptr) {
                attribute->SetValue(value.c_str());
            } else {
                element->SetAttribute(kAttributeNames[Below(std::size(kAttributeNames))],
                                      value.c_str());
            }
            break;
        }
        case 4:  // attribute the element did not have
            element->SetAttribute(kAttributeNames[Below(std::size(kAttributeNames))],
                                  InterestingValue().c_str());
            break;
        case 5:  // renamed element
            element->SetValue(kTags[Below(std::size(kTags))]);
            break;
        case 6: {  // very long or odd text content
            element->Clear();
            const std::string value = Chance(70) ? LongString() : InterestingValue();
            TiXmlText content(value.c_str());
            element->InsertEndChild(content);
            break;
        }
        default: {  // element moved under another one (maybe its own descendant's sibling)
            TiXmlElement* target = elements[Below(elements.size())];
            if (target != element) {
                target->InsertEndChild(*element);
            }
            break;
        }
    }
    TiXmlPrinter printer;
    printer.SetIndent("");
    document.Accept(&printer);
    text = printer.CStr();
    return true;
}

std::string XmlMutator::Mutate(const std::string& document, std::string* applied) {
    static const char* const kNames[] = {"flip",      "truncate",   "dup-element", "del-element",
                                         "del-attr",  "huge-value", "add-attr",    "rename",
                                         "long-text", "move",       "dup-attr",    "deep-nest"};
    std::string text = document;
    const std::size_t count = 1 + Below(4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t kind = Below(std::size(kNames));
        switch (kind) {
            case 0:
                FlipBytes(text);
                break;
            case 1:
                Truncate(text);
                break;
            case 10:
                DuplicateAttribute(text);
                break;
            case 11:
                InsertDeepNesting(text);
                break;
            default:
                MutateTree(text, static_cast<int>(kind) - 2);
                break;
        }
        if (applied != nullptr) {
            *applied += (applied->empty() ? "" : " ") + std::string(kNames[kind]);
        }
    }
    return text;
}

}  // namespace velora::test
