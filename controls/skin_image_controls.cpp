#include "controls/skin_image_controls.h"

#include "controls/control_attributes.h"

namespace velora {

bool CBkImageBg::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageBg::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Text("skin", skin_) || r.Int("fill", fill_) || r.Int("cx", cx_) || r.Int("cy", cy_);
}

bool CBkImageScroll::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageScroll::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Text("skin", skin_) || r.Int("hscroll", hScroll_) || r.Int("vscroll", vScroll_) ||
           r.Int("cx", cx_) || r.Int("cy", cy_) || r.Int("hpos", hPos_) || r.Int("vpos", vPos_);
}

bool CBkImageEx::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageEx::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Text("skin", skin_) || r.Int("sub", sub_) || r.Int("alpha", alpha_);
}

bool CBkImageEx2::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageEx2::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkImageEx::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Int("stretch", stretch_) || r.Int("topdraw", topDraw_);
}

bool CBkImageRotale::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageRotale::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Int("angle", angle_) || r.Int("sub", sub_) || r.Text("skin", skin_);
}

bool CBkImgGray::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImgGray::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Text("skin", skin_) || r.Int("gray", gray_);
}

bool CBkExpendImg::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkExpendImg::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    int margin = 0;
    if (r.Int("margin_left", margin)) {
        margins_.left = margin;
    } else if (r.Int("margin_top", margin)) {
        margins_.top = margin;
    } else if (r.Int("margin_right", margin)) {
        margins_.right = margin;
    } else if (r.Int("margin_bottom", margin)) {
        margins_.bottom = margin;
    } else {
        return r.Text("skin", skin_) || r.Int("skinalpha", skinAlpha_);
    }
    return true;
}

}  // namespace velora
