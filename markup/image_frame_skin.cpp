#include "markup/image_frame_skin.h"

#include <cstdint>
#include <cstring>

#include "markup/attribute_reader.h"
#include "markup/picture_layout.h"

namespace velora {

bool CBkSkinImgFrame::IsClass(const char* tag) const {
    return tag != nullptr && std::strcmp(tag, kTag) == 0;
}

bool CBkSkinImgFrame::SetAttribute(const std::string& name, const std::string& value,
                                   bool loading) {
    static constexpr AttributeWord<Borders> kParts[] = {
        {"all", {true, true, true, true}},      {"top", {true, false, true, true}},
        {"middle", {false, false, true, true}}, {"bottom", {false, true, true, true}},
        {"left", {true, true, true, false}},    {"center", {true, true, false, false}},
        {"right", {true, true, false, true}}};
    const AttributeReader r(name, value);
    return list_.SetAttribute(name, value, loading) || r.Color("crbg", crBg_) ||
           r.Int("left", left_) || r.Int("top", top_) || r.Enum("part", kParts, borders_);
}

void CBkSkinImgFrame::Draw(HDC dc, const RECT& rect, int /*state*/) {
    if (!list_.IsLoaded() || list_.Bitmap() == nullptr || list_.Mode() == ImageListMode::kAlpha) {
        return;  // alpha image lists copy only at 1:1, which a frame cannot
    }
    using I64 = std::int64_t;
    const SIZE bitmap = list_.BitmapSize();
    const I64 W = bitmap.cx, H = bitmap.cy, a = left_, b = top_;
    const I64 rightWidth = W - a - 1, bottomHeight = H - b - 1;
    const Borders& on = borders_;
    const I64 x0 = rect.left, y0 = rect.top, y1 = rect.bottom;
    const I64 innerLeft = x0 + (on.left ? a : 0);
    const I64 innerTop = y0 + (on.top ? b : 0);
    const I64 innerRight = rect.right - (on.right ? rightWidth : 0);
    const I64 innerBottom = y1 - (on.bottom ? bottomHeight : 0);
    const I64 innerWidth = innerRight - innerLeft, innerHeight = innerBottom - innerTop;

    const auto copy = [&](I64 dx, I64 dy, I64 dw, I64 dh, I64 sx, I64 sy, I64 sw, I64 sh) {
        RECT destination;
        RECT source;
        if (dw > 0 && dh > 0 && sw > 0 && sh > 0 && ToRect(dx, dy, dw, dh, destination) &&
            ToRect(sx, sy, sw, sh, source)) {
            list_.CopyPart(dc, destination, source);
        }
    };
    if (on.top && on.left) {
        copy(x0, y0, a, b, 0, 0, a, b);
    }
    if (on.top && on.right) {
        copy(innerRight, y0, rightWidth, b, a + 1, 0, rightWidth, b);
    }
    if (on.bottom && on.left) {
        copy(x0, innerBottom, a, bottomHeight, 0, b + 1, a, bottomHeight);
    }
    if (on.bottom && on.right) {
        copy(innerRight, innerBottom, rightWidth, bottomHeight, a + 1, b + 1, rightWidth,
             bottomHeight);
    }
    if (on.top) {
        copy(innerLeft, y0, innerWidth, b, a, 0, 1, b);
    }
    if (on.left) {
        copy(x0, innerTop, a, innerHeight, 0, b, a, 1);
    }
    if (on.bottom) {
        copy(innerLeft, y1 - bottomHeight, innerWidth, bottomHeight, a, b + 1, 1, bottomHeight);
    }
    if (on.right) {
        copy(innerRight, innerTop, rightWidth, innerHeight, a + 1, b, rightWidth, 1);
    }
    RECT inner;
    if (crBg_ != static_cast<COLORREF>(-1) && innerWidth > 0 && innerHeight > 0 &&
        ToRect(innerLeft, innerTop, innerWidth, innerHeight, inner)) {
        const COLORREF old = ::SetBkColor(dc, crBg_);
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &inner, nullptr, 0, nullptr);
        ::SetBkColor(dc, old);
    }
}

}  // namespace velora
