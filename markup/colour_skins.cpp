#include "markup/colour_skins.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/gdi_scopes.h"
#include "markup/attribute_reader.h"
#include "markup/gradient_fill.h"

namespace velora {
namespace {

constexpr int kHover = 0x01;
constexpr int kPushed = 0x02;
constexpr int kDisabled = 0x10;
constexpr COLORREF kUnset = static_cast<COLORREF>(-1);

}  // namespace

bool CBkSkinButton::IsClass(const char* tag) const {
    return tag != nullptr && std::strcmp(tag, kTag) == 0;
}

bool CBkSkinButton::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkSkinBase::SetAttribute(name, value, loading) || r.Color("bg", bg_) ||
           r.Color("border", border_) || r.Color("bgup", bgUp_) ||
           r.Color("bguphover", bgUpHover_) || r.Color("bguppush", bgUpPush_) ||
           r.Color("bgdown", bgDown_) || r.Color("bgdownhover", bgDownHover_) ||
           r.Color("bgdownpush", bgDownPush_) || r.Flag("useborder", useBorder_);
}

void CBkSkinButton::Draw(HDC dc, const RECT& rect, int state) {
    FillSolid(dc, rect, bg_);
    RECT face = rect;
    if (useBorder_) {
        ::InflateRect(&face, -2, -2);
    }
    if (!(state & kDisabled) && face.right > face.left && face.bottom > face.top) {
        const COLORREF top = (state & kPushed) ? bgUpPush_ : (state & kHover) ? bgUpHover_ : bgUp_;
        const COLORREF bottom = (state & kPushed)  ? bgDownPush_
                                : (state & kHover) ? bgDownHover_
                                                   : bgDown_;
        FillGradient(dc, face, top, bottom, GradientDirection::kVertical);
    }
    if (useBorder_) {
        ScopedPen pen(::CreatePen(PS_SOLID, 1, border_));
        ScopedSelectObject penSelected(dc, pen.Get());
        ScopedSelectObject brushSelected(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
}

bool CBkSkinGradation::IsClass(const char* tag) const {
    return tag != nullptr && std::strcmp(tag, kTag) == 0;
}

bool CBkSkinGradation::SetAttribute(const std::string& name, const std::string& value,
                                    bool loading) {
    static constexpr AttributeWord<bool> kDirections[] = {{"horz", false}, {"vert", true}};
    const AttributeReader r(name, value);
    return CBkSkinBase::SetAttribute(name, value, loading) || r.Color("from", from_) ||
           r.Color("to", to_) || r.Int("size", size_) ||
           r.Enum("direction", kDirections, vertical_);
}

void CBkSkinGradation::Draw(HDC dc, const RECT& rect, int /*state*/) {
    // An unset colour has no value to paint with; such a gradation draws
    // only what is set.
    if (to_ != kUnset) {
        FillSolid(dc, rect, to_);
    }
    if (from_ == kUnset || to_ == kUnset) {
        return;
    }
    ScopedClipRect clip(dc, rect);
    RECT gradient = rect;
    if (size_ > 0) {
        if (vertical_) {
            gradient.bottom = static_cast<LONG>(
                std::min<long long>(static_cast<long long>(rect.top) + size_, LONG_MAX));
        } else {
            gradient.right = static_cast<LONG>(
                std::min<long long>(static_cast<long long>(rect.left) + size_, LONG_MAX));
        }
    }
    FillGradient(dc, gradient, from_, to_,
                 vertical_ ? GradientDirection::kVertical : GradientDirection::kHorizontal);
}

}  // namespace velora
