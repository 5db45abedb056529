#include "controls/skin_button_controls.h"

#include <oleacc.h>

#include <algorithm>

#include "controls/skin_cells.h"
#include "markup/attribute_reader.h"
#include "ui/accessible_actions.h"
#include "ui/text_painter.h"

namespace velora {

DWORD CBkSkinBtnWnd::AccessibleRole() const {
    return ROLE_SYSTEM_PUSHBUTTON;
}

std::wstring CBkSkinBtnWnd::AccessibleDefaultAction() const {
    return kActionPress;
}

DWORD CBkImgbtnsized::AccessibleRole() const {
    return ROLE_SYSTEM_PUSHBUTTON;
}

std::wstring CBkImgbtnsized::AccessibleDefaultAction() const {
    return kActionPress;
}

bool CBkSkinBtnWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkSkinBtnWnd::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    return CBkWindow::SetAttribute(name, value, loading) ||
           AttributeReader(name, value).Text("skin", skin_);
}

bool CBkImgbtnsized::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImgbtnsized::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Text("skin", skin_) ||
           r.Text("skinmid", skinMid_) || r.Int("left", left_);
}

}  // namespace velora

namespace velora {

SIZE CBkSkinBtnWnd::MeasureContent(SIZE available) {
    return SkinNaturalSize(*this, CBkWindow::MeasureContent(available), FindSkin(skin_));
}

void CBkSkinBtnWnd::PaintContent(HDC dc) {
    if (CBkSkinBase* skin = FindSkin(skin_)) {
        skin->Draw(dc, Rect(), StateIndexWithDisabled(State(), IsDisabled()));
    }
    PaintControlText(dc, *this);
}

void CBkImgbtnsized::PaintContent(HDC dc) {
    const int index = StateIndex(State());
    const RECT& rect = Rect();
    if (CBkSkinBase* skin = FindSkin(skin_)) {
        skin->Draw(dc, rect, index);
    }
    CBkSkinBase* middle = FindSkin(skinMid_);
    // An inset that eats the whole width leaves no middle to draw.
    const long long inset = std::max(0, left_);
    if (middle != nullptr && 2 * inset < RectWidth(rect)) {
        const RECT inner = {rect.left + static_cast<LONG>(inset), rect.top,
                            rect.right - static_cast<LONG>(inset), rect.bottom};
        middle->Draw(dc, inner, index);
    }
}

}  // namespace velora
