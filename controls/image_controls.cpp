#include "controls/image_controls.h"

#include "controls/control_attributes.h"
#include "markup/value_parsers.h"

namespace velora {

ClipParams ClipParams::Parse(const std::string& text) {
    ClipParams params;
    std::size_t start = 0;
    while (start <= text.size() && params.count_ < kMax) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            params.values_[params.count_++] = ParseDecimal(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return params;
}

bool CBkImageWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageWnd::Load(const TiXmlElement* element) {
    const bool loaded = CBkWindow::Load(element);
    if (loaded) {
        UpdateGroup();
    }
    return loaded;
}

bool CBkImageWnd::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    if (r.Text("group", group_)) {
        if (!loading) {
            UpdateGroup();
        }
        return true;
    }
    if (r.Is("clipparam")) {
        clipParams_ = ClipParams::Parse(value);
        return true;
    }
    return r.Text("skin", skin_) || r.Int("sub", sub_) || r.Text("ico", ico_) ||
           r.Int("ico_top", icoTop_) || r.WideText("caption", caption_) ||
           r.Int("caption_top", captionTop_) || r.Text("mask", mask_) ||
           r.Int("cliptype", clipType_) || r.Int("alpha", alpha_);
}

void CBkImageWnd::UpdateGroup() {
    if (group_.empty()) {
        membership_.Leave();
    } else {
        membership_.Join(group_);
    }
}

bool CBkImageBtnWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

}  // namespace velora
