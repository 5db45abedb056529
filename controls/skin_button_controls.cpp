#include "controls/skin_button_controls.h"

#include "controls/control_attributes.h"

namespace velora {

bool CBkSkinBtnWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkSkinBtnWnd::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    return AttributeReader(name, value).Text("skin", skin_);
}

bool CBkImgbtnsized::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImgbtnsized::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Text("skin", skin_) || r.Text("skinmid", skinMid_) || r.Int("left", left_);
}

}  // namespace velora
