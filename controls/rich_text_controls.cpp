#include "controls/rich_text_controls.h"

#include "controls/control_attributes.h"

namespace velora {

bool CBkRichText::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRichText::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Hex("defaultfont", defaultFont_) || r.Text("linkclass", linkClass_) ||
           r.Int("forcecursor", forceCursor_) || r.Int("adjustpos", adjustPos_) ||
           r.Int("autoadjustyahei", autoAdjustYaHei_);
}

bool CBkRichTextEx::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

}  // namespace velora
