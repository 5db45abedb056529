#include "markup/colour_skins.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/gdi_scopes.h"
#include "markup/gradient_fill.h"
#include "markup/value_parsers.h"

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
    if (CBkSkinBase::SetAttribute(name, value, loading)) {
        return true;
    }
    const struct {
        const char* name;
        COLORREF CBkSkinButton::*field;
    } colours[] = {{"bg", &CBkSkinButton::bg_},
                   {"border", &CBkSkinButton::border_},
                   {"bgup", &CBkSkinButton::bgUp_},
                   {"bguphover", &CBkSkinButton::bgUpHover_},
                   {"bguppush", &CBkSkinButton::bgUpPush_},
                   {"bgdown", &CBkSkinButton::bgDown_},
                   {"bgdownhover", &CBkSkinButton::bgDownHover_},
                   {"bgdownpush", &CBkSkinButton::bgDownPush_}};
    for (const auto& c : colours) {
        if (name == c.name) {
            this->*c.field = ParseColor(value);
            return true;
        }
    }
    if (name == "useborder") {
        useBorder_ = ParseFlag(value);
        return true;
    }
    return false;
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
    if (CBkSkinBase::SetAttribute(name, value, loading)) {
        return true;
    }
    if (name == "from") {
        from_ = ParseColor(value);
    } else if (name == "to") {
        to_ = ParseColor(value);
    } else if (name == "size") {
        size_ = ParseDecimal(value);
    } else if (name == "direction") {
        if (value == "horz") {
            vertical_ = false;
        } else if (value == "vert") {
            vertical_ = true;
        } else {
            return false;
        }
    } else {
        return false;
    }
    return true;
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
