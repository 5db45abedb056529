#include "controls/source_image_controls.h"

#include "controls/control_attributes.h"

namespace velora {

bool CBkIconWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkIconWnd::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.Text("src", src_) || r.Int("oem", oem_) || r.Int("size", size_);
}

CBkHIcon::~CBkHIcon() {
    DestroyOwnedIcon();
}

bool CBkHIcon::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkHIcon::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    if (r.Is("handle")) {
        HICON icon = reinterpret_cast<HICON>(ParseAddress(value));
        if (icon != icon_) {
            DestroyOwnedIcon();  // an owned handle would otherwise leak
            icon_ = icon;
        }
        return true;
    }
    int autoDelete = 0;
    if (r.Int("autodel", autoDelete)) {
        autoDelete_ = autoDelete != 0;
        return true;
    }
    return false;
}

void CBkHIcon::DestroyOwnedIcon() {
    if (autoDelete_ && icon_ != nullptr) {
        ::DestroyIcon(icon_);
    }
    icon_ = nullptr;
}

bool CBkMemoryImage::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkMemoryImage::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    if (name != "mempointer") {
        return false;
    }
    image_ = ParseAddress(value);
    return true;
}

bool CBkStorageImage::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkStorageImage::SetAttribute(const std::string& name, const std::string& value,
                                   bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return r.WideText("filepath", filePath_) || r.Int("subwidth", subWidth_) || r.Int("sub", sub_);
}

int WrapCellIndex(int sub, int count) {
    if (count <= 0) {
        return -1;
    }
    const int cell = sub % count;
    return cell < 0 ? cell + count : cell;
}

}  // namespace velora
