#include "controls/shape_controls.h"

#include "controls/control_attributes.h"

namespace velora {

bool CBkRoundRect::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRoundRect::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Int("rndwidht", cornerWidth_) || r.Int("rndheight", cornerHeight_);
}

bool CBkRoundRectPath::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRoundRectPath::SetAttribute(const std::string& name, const std::string& value,
                                    bool loading) {
    if (CBkRoundRect::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Int("bdrawbg", drawBackground_) || r.Color("crline", lineColor_) ||
           r.Int("crlinealpha", lineAlpha_);
}

bool CBKShadowText::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBKShadowText::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Int("normalshadow", normalShadow_) || r.Int("hovershadow", hoverShadow_) ||
           r.Color("crshaow", shadowColor_) || r.Int("crshadowalpha", shadowAlpha_);
}

bool BkSlider::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool BkSlider::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    int margin = 0;
    if (r.Int("bgleftmargin", margin)) {
        bgMargins_.left = margin;
    } else if (r.Int("bgtopmargin", margin)) {
        bgMargins_.top = margin;
    } else if (r.Int("bgrightmargin", margin)) {
        bgMargins_.right = margin;
    } else if (r.Int("bgbottommargin", margin)) {
        bgMargins_.bottom = margin;
    } else {
        return r.Int("sliderpos", sliderPos_) || r.Text("skinbg", skinBg_) || r.Text("skin", skin_);
    }
    return true;
}

}  // namespace velora
