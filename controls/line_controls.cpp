#include "controls/line_controls.h"

#include "controls/control_attributes.h"

namespace velora {
namespace {

bool ParseLineStyle(const std::string& value, BkLineStyle& style) {
    static const struct {
        const char* name;
        BkLineStyle style;
    } kStyles[] = {{"solid", BkLineStyle::kSolid},
                   {"dash", BkLineStyle::kDash},
                   {"dot", BkLineStyle::kDot},
                   {"dashdot", BkLineStyle::kDashDot},
                   {"dashdotdot", BkLineStyle::kDashDotDot}};
    for (const auto& entry : kStyles) {
        if (value == entry.name) {
            style = entry.style;
            return true;
        }
    }
    return false;
}

}  // namespace

bool CBkLine::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkLine::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    if (r.Is("style")) {
        return ParseLineStyle(value, style_);
    }
    return r.Int("size", size_);
}

bool CBkLineEx::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

}  // namespace velora
