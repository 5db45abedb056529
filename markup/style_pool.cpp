#include "markup/style_pool.h"

#include <cstring>

#include <tinyxml.h>

#include "markup/font_pool.h"
#include "markup/pool_table.h"
#include "markup/value_parsers.h"
#include "markup/xml_document.h"

namespace velora {

bool BkStyle::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool BkStyle::SetAttribute(const std::string& attribute, const std::string& value, bool loading) {
    if (CBkObject::SetAttribute(attribute, value, loading)) {
        return true;
    }
    const struct ColorField {
        const char* name;
        COLORREF BkStyle::*field;
    } colors[] = {{"crbg", &BkStyle::crBg},
                  {"crbghover", &BkStyle::crBgHover},
                  {"crtext", &BkStyle::crText},
                  {"crhover", &BkStyle::crHover},
                  {"crdisabled", &BkStyle::crDisabled},
                  {"crshadow", &BkStyle::crShadow}};
    for (const ColorField& c : colors) {
        if (attribute == c.name) {
            this->*c.field = ParseColor(value);
            return true;
        }
    }
    const struct IntField {
        const char* name;
        int BkStyle::*field;
    } ints[] = {{"x-margin", &BkStyle::xMargin},
                {"y-margin", &BkStyle::yMargin},
                {"spacing", &BkStyle::spacing},
                {"linespacing", &BkStyle::lineSpacing},
                {"gditxtrndhit", &BkStyle::gdiplusTextRenderingHint},
                {"alphatxt", &BkStyle::alphaText},
                {"alphabg", &BkStyle::alphaBackground}};
    for (const IntField& i : ints) {
        if (attribute == i.name) {
            this->*i.field = ParseDecimal(value);
            return true;
        }
    }
    const struct FlagField {
        const char* name;
        bool BkStyle::*field;
    } flags[] = {{"shadow", &BkStyle::shadow},
                 {"gdiplus", &BkStyle::gdiplus},
                 {"gdipluscalctxt", &BkStyle::gdiplusMeasure},
                 {"bggdiplus", &BkStyle::gdiplusBackground}};
    for (const FlagField& f : flags) {
        if (attribute == f.name) {
            this->*f.field = ParseFlag(value);
            return true;
        }
    }
    if (attribute == "textmode") {
        textMode = ParseHexCode(value);
    } else if (attribute == "textmodeex") {
        textModeEx = ParseHexCode(value);
    } else if (attribute == "font") {
        font = BkFontPool::Instance().GetFont(ParseHexCode(value));
    } else if (attribute == "hoverfont") {
        hoverFont = BkFontPool::Instance().GetFont(ParseHexCode(value));
    } else if (attribute == "margin") {
        xMargin = yMargin = ParseDecimal(value);
    } else if (attribute == "yhresizedisable") {
        noFaceCorrection = ParseDecimal(value) == 1;
    } else if (attribute == "cursor") {
        if (value == "hand") {
            cursor = IDC_HAND;
        } else if (value == "arrow") {
            cursor = IDC_ARROW;
        } else {
            return false;  // unknown word: keep the current cursor
        }
    } else if (attribute == "skin") {
        skin = value;
    } else if (attribute == "name") {
        name = value;
    } else {
        return false;
    }
    return true;
}

BkStylePool& BkStylePool::Instance() {
    static BkStylePool pool;
    return pool;
}

BkStylePool::BkStylePool() {
    styles_.emplace("", std::make_unique<BkStyle>());
}

bool BkStylePool::Load(UINT id) {
    styles_.clear();
    styles_.emplace("", std::make_unique<BkStyle>());
    return LoadPoolTable(id, "style", [this](const TiXmlElement& root) {
        for (const TiXmlElement* entry = root.FirstChildElement("class"); entry;
             entry = entry->NextSiblingElement("class")) {
            const char* name = AttributeText(entry, "name");
            if (name == nullptr || styles_.count(name) != 0) {
                continue;
            }
            auto style = std::make_unique<BkStyle>();
            style->Load(entry);
            styles_.emplace(name, std::move(style));
        }
    });
}

const BkStyle& BkStylePool::Get(const std::string& name) {
    auto found = styles_.find(name);
    if (found != styles_.end()) {
        return *found->second;
    }
    auto& fallback = styles_[""];
    if (!fallback) {
        fallback = std::make_unique<BkStyle>();
    }
    return *fallback;
}

}  // namespace velora
