#include "markup/style_pool.h"

#include <cstring>

#include <tinyxml.h>

#include "markup/attribute_reader.h"
#include "markup/pool_table.h"
#include "markup/value_parsers.h"
#include "markup/xml_document.h"

namespace velora {

bool BkStyle::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool BkStyle::SetAttribute(const std::string& attribute, const std::string& value, bool loading) {
    static const AttributeWord<LPCWSTR> kCursors[] = {{"hand", IDC_HAND}, {"arrow", IDC_ARROW}};
    const auto margin = [this](const std::string& text) {
        xMargin = yMargin = ParseDecimal(text);
        return true;
    };
    const auto faceCorrection = [this](const std::string& text) {
        noFaceCorrection = ParseDecimal(text) == 1;
        return true;
    };
    const AttributeReader r(attribute, value);
    return CBkObject::SetAttribute(attribute, value, loading) || r.Color("crbg", crBg) ||
           r.Color("crbghover", crBgHover) || r.Color("crtext", crText) ||
           r.Color("crhover", crHover) || r.Color("crdisabled", crDisabled) ||
           r.Color("crshadow", crShadow) || r.Int("x-margin", xMargin) ||
           r.Int("y-margin", yMargin) || r.Int("spacing", spacing) ||
           r.Int("linespacing", lineSpacing) || r.Int("gditxtrndhit", gdiplusTextRenderingHint) ||
           r.Int("alphatxt", alphaText) || r.Int("alphabg", alphaBackground) ||
           r.Flag("shadow", shadow) || r.Flag("gdiplus", gdiplus) ||
           r.Flag("gdipluscalctxt", gdiplusMeasure) || r.Flag("bggdiplus", gdiplusBackground) ||
           r.Hex("textmode", textMode) || r.Hex("textmodeex", textModeEx) || r.Font("font", font) ||
           r.Font("hoverfont", hoverFont) || r.Apply("margin", margin) ||
           r.Apply("yhresizedisable", faceCorrection) ||
           r.Enum("cursor", kCursors, cursor) ||  // an unknown word keeps the current cursor
           r.Text("skin", skin) || r.Text("name", name);
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
