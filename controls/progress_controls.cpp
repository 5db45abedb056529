#include "controls/progress_controls.h"

#include "controls/control_attributes.h"

namespace velora {

bool CBkProgress::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkProgress::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Text("bgskin", bgSkin_) || r.Text("posskin", posSkin_) ||
           r.Int("skinposx", skinPosX_) || r.Unsigned("min", min_) || r.Unsigned("max", max_) ||
           r.Unsigned("value", value_) || r.Int("showpercent", showPercent_) ||
           r.Int("progressbar", progressBar_);
}

bool CBkProgressEx::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkProgressEx::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkProgress::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.WideText("extendtext", extendText_) || r.Int("posimg_left", posImgLeft_);
}

}  // namespace velora
