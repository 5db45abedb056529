#include "markup/jpg_skin.h"

#include <algorithm>
#include <cstring>

#include "markup/attribute_reader.h"
#include "markup/gdiplus_draw.h"
#include "markup/picture_layout.h"

namespace velora {

bool CBkJpgSkin::IsClass(const char* tag) const {
    return tag != nullptr && std::strcmp(tag, kTag) == 0;
}

bool CBkJpgSkin::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkSkinBase::SetAttribute(name, value, loading) || r.Int("subwidth", subWidth_) ||
           r.Int("left", left_) || r.Int("top", top_) || r.Int("margin_left", marginLeft_) ||
           r.Int("margin_right", marginRight_) || r.Unsigned("src", src_);
}

bool CBkJpgSkin::LoadPicture() {
    if (!loaded_) {
        image_ = &BkJpgPool::Instance().Get(src_);
        loaded_ = true;
    }
    return loaded_;
}

gdip::GpImage* CBkJpgSkin::Picture() const {
    return loaded_ && image_ != nullptr ? image_->image.Get() : nullptr;
}

SIZE CBkJpgSkin::GetSkinSize() {
    const SIZE picture = ImageSize(Picture());
    return {subWidth_ != 0 ? subWidth_ : picture.cx, picture.cy};
}

void CBkJpgSkin::Draw(HDC dc, const RECT& rect, int state) {
    gdip::GpImage* picture = Picture();
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    if (picture == nullptr || !graphics) {
        return;
    }
    const SIZE size = ImageSize(picture);
    const auto copy = [&](const PartCopy& part) {
        RECT destination;
        RECT source;
        if (ClipToPicture(part, size.cx, size.cy, destination, source)) {
            DrawImageRect(graphics.Get(), picture, destination, source);
        }
    };
    using I64 = std::int64_t;
    const I64 x0 = rect.left, y0 = rect.top, x1 = rect.right;
    const I64 w = x1 - x0, h = static_cast<I64>(rect.bottom) - y0;
    const I64 iw = size.cx, ih = size.cy, sw = subWidth_;
    const I64 sx = left_, sy = top_, l = marginLeft_, r = marginRight_;
    if (sw != 0) {
        copy({x0, y0, sw, ih, static_cast<I64>(state) * sw, 0, sw, ih});
        return;
    }
    if (l != 0) {
        copy({x0, y0, l, h, sx, sy, l, h});
    }
    copy({x0 + l, y0, w - r - l, h, sx + l, sy, std::min(iw, w) - r - l, h});
    if (r != 0) {
        copy({x1 - r, y0, r, h, iw - r, sy, r, h});
    }
}

void CBkJpgSkin::DrawPartScaled(HDC dc, const RECT& destination, const RECT& source) {
    DrawImageOnDc(dc, Picture(), destination, source);
}

void CBkJpgSkin::DrawGray(HDC dc, const RECT& destination, const RECT& source) {
    const gdip::Api* api = gdip::Functions();
    gdip::GpImage* picture = Picture();
    if (picture == nullptr) {
        return;
    }
    gdip::ScopedImageAttributes attributes;
    if (api->GdipCreateImageAttributes(attributes.Receive()) != gdip::kOk) {
        attributes.Release();
        return;
    }
    // Each of red, green and blue becomes 0.3 R + 0.59 G + 0.11 B; alpha stays.
    const gdip::ColorMatrix grey = {{{0.3f, 0.3f, 0.3f, 0, 0},
                                     {0.59f, 0.59f, 0.59f, 0, 0},
                                     {0.11f, 0.11f, 0.11f, 0, 0},
                                     {0, 0, 0, 1, 0},
                                     {0, 0, 0, 0, 1}}};
    api->GdipSetImageAttributesColorMatrix(attributes.Get(), 0, TRUE, &grey, nullptr, 0);
    DrawImageOnDc(dc, picture, destination, source, attributes.Get());
}

}  // namespace velora
