#include "controls/toggle_controls.h"

#include <oleacc.h>

#include <windowsx.h>

#include <algorithm>

#include "markup/attribute_reader.h"
#include "markup/style_pool.h"
#include "markup/value_parsers.h"
#include "ui/accessible_actions.h"
#include "ui/text_painter.h"

namespace velora {
namespace {

bool ReadCheck(const AttributeReader& r, std::optional<int>& check) {
    if (!r.Is("check")) {
        return false;
    }
    check = ParseDecimal(r.Value());
    return true;
}

// The label right of the glyph: the left edge moves by `offset` while the
// text is painted, vertically centred on one line's worth of format.
void PaintLabel(HDC dc, CBkWindow& control, RECT& rect, int offset) {
    const UINT format = (control.Style().textMode & ~static_cast<UINT>(DT_BOTTOM)) | DT_VCENTER;
    control.SetCachedDrawFormat(format);
    rect.left += offset;
    PaintControlText(dc, control);
    rect.left -= offset;
}

SIZE WithGlyph(SIZE text, int offset, int minimumHeight) {
    return SIZE{text.cx + offset, std::max<LONG>(text.cy, minimumHeight)};
}

}  // namespace

bool CBkCheckBox::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkCheckBox::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || ReadCheck(r, check_) ||
           r.Text("skin", skin_) || r.Text("skin_check", skinCheck_);
}

bool CBkCheckBox::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result) {
    if (message != WM_LBUTTONUP) {
        return CBkWindow::HandleMessage(host, message, wParam, lParam, result);
    }
    result = 0;
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (::PtInRect(&Rect(), point)) {
        // Released elsewhere, the press is abandoned and the value stays.
        if (Has(State(), ControlState::kChecked)) {
            ModifyState(ControlState::kNone, ControlState::kChecked);
        } else {
            ModifyState(ControlState::kChecked, ControlState::kNone);
        }
        RequestRepaint();
    }
    SetMessageHandled(true);
    return true;
}

SIZE CBkCheckBox::MeasureContent(SIZE available) {
    return WithGlyph(CBkWindow::MeasureContent(available), kLabelOffset, kBoxSize);
}

void CBkCheckBox::PaintContent(HDC dc) {
    if (dc == nullptr) {
        return;
    }
    const RECT& rect = Rect();
    const RECT box = {rect.left, rect.top, rect.left + kBoxSize, rect.bottom};
    DrawToggleGlyph(dc, box, ToggleGlyph::kCheckBox, State(), IsDisabled(), theme_);
    PaintLabel(dc, *this, MutableRect(), kLabelOffset);
}

DWORD CBkCheckBox::AccessibleRole() const {
    return ROLE_SYSTEM_CHECKBUTTON;
}

std::wstring CBkCheckBox::AccessibleDefaultAction() const {
    return Has(State(), ControlState::kChecked) ? kActionUncheck : kActionCheck;
}

DWORD CBkRadioBox::AccessibleRole() const {
    return ROLE_SYSTEM_RADIOBUTTON;
}

std::wstring CBkRadioBox::AccessibleDefaultAction() const {
    return kActionSelect;
}

bool CBkRadioBox::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRadioBox::Load(const TiXmlElement* element) {
    const bool loaded = CBkWindow::Load(element);
    if (loaded) {
        membership_.Join(group_);
    }
    return loaded;
}

bool CBkRadioBox::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    // A group renamed at run time is joined at once, so the control is never
    // listed under a name it no longer has.
    const auto group = [this, loading](const std::string& text) {
        group_ = text;
        if (!loading) {
            membership_.Join(group_);
        }
        return true;
    };
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Apply("group", group) ||
           ReadCheck(r, check_) || r.Text("skin", skin_) || r.Text("skin_check", skinCheck_);
}

bool CBkRadioBox::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result) {
    if (message != WM_LBUTTONUP) {
        return CBkWindow::HandleMessage(host, message, wParam, lParam, result);
    }
    result = 0;
    ModifyState(ControlState::kChecked, ControlState::kNone);  // a checked radio stays checked
    UncheckOtherGroupMembers(group_, Handle());
    RequestRepaint();
    SetMessageHandled(true);
    return true;
}

SIZE CBkRadioBox::MeasureContent(SIZE available) {
    return WithGlyph(CBkWindow::MeasureContent(available), kLabelOffset, kCircleSize);
}

void CBkRadioBox::PaintContent(HDC dc) {
    if (dc == nullptr) {
        return;
    }
    const RECT& rect = Rect();
    const LONG top = rect.top + (rect.bottom - rect.top - kCircleSize) / 2;
    const RECT circle = {rect.left, top, rect.left + kCircleSize, top + kCircleSize};
    DrawToggleGlyph(dc, circle, ToggleGlyph::kRadioButton, State(), IsDisabled(), theme_);
    PaintLabel(dc, *this, MutableRect(), kLabelOffset);
}

}  // namespace velora
