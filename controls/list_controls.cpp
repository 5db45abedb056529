#include "controls/list_controls.h"

#include "controls/control_attributes.h"
#include "markup/value_parsers.h"

namespace velora {

bool CBkListWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkListWnd::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkDialog::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Text("scrollclass", scrollClass_) || r.Int("externline", externLine_);
}

bool CBkListItem::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkListItem::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkDialog::SetAttribute(name, value, loading)) {
        return true;
    }
    if (name == "height") {
        const int height = ParseDecimal(value);
        if (height < 0) {
            return false;
        }
        if (height != height_) {
            height_ = height;
            layoutPending_ = true;
        }
        return true;
    }
    return AttributeReader(name, value).Int("viewvisible", viewVisible_);
}

bool CBkWindowScollBar::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkWindowScollBar::SetAttribute(const std::string& name, const std::string& value,
                                     bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Hex("color_bar", barColor_) || r.Hex("color_bar_hv", hoverBarColor_) ||
           r.Int("rectanglebar", rectangleBar_) || r.Int("barwidth", barWidth_);
}

}  // namespace velora
