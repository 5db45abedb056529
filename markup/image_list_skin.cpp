#include "markup/image_list_skin.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/gdi_scopes.h"
#include "markup/attribute_reader.h"
#include "markup/bitmap_blit.h"
#include "markup/bitmap_pool.h"
#include "markup/picture_layout.h"
#include "markup/value_parsers.h"

namespace velora {

bool CBkImageSkin::IsClass(const char* tag) const {
    return tag != nullptr && std::strcmp(tag, kTag) == 0;
}

bool CBkImageSkin::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    static constexpr AttributeWord<ImageListMode> kModes[] = {{"none", ImageListMode::kNone},
                                                              {"mask", ImageListMode::kMask},
                                                              {"alpha", ImageListMode::kAlpha}};
    const AttributeReader r(name, value);
    return CBkSkinBase::SetAttribute(name, value, loading) || r.Text("src", src_) ||
           r.Enum("mode", kModes, mode_) || r.Color("maskcolor", maskColor_) ||
           r.Int("subwidth", subWidth_) || r.Int("stretch-x", stretchX_) ||
           r.Int("stretch-y", stretchY_);
}

bool CBkImageSkin::LoadPicture() {
    if (!loaded_) {
        bitmap_ = BkBmpPool::Instance().Get(static_cast<UINT>(ParseDecimal(src_)));
        loaded_ = true;  // a missing bitmap is not looked for again by this skin
    }
    return loaded_;
}

SIZE CBkImageSkin::BitmapSize() const {
    const BITMAP info = BitmapInfo(bitmap_);
    return {info.bmWidth, info.bmHeight};
}

SIZE CBkImageSkin::GetSkinSize() {
    if (stretchX_ != 0 && stretchY_ != 0) {
        return {stretchX_, stretchY_};
    }
    const SIZE bitmap = BitmapSize();
    return {subWidth_ != 0 ? subWidth_ : bitmap.cx, bitmap.cy};
}

void CBkImageSkin::CopyPart(HDC dc, const RECT& destination, const RECT& source) const {
    const bool oneToOne = destination.right - destination.left == source.right - source.left &&
                          destination.bottom - destination.top == source.bottom - source.top;
    switch (mode_) {
        case ImageListMode::kNone:
            CopyOpaque(dc, destination, bitmap_, source);
            break;
        case ImageListMode::kMask:
            CopyKeyed(dc, destination, bitmap_, source, maskColor_);
            break;
        case ImageListMode::kAlpha:
            if (oneToOne) {
                CopyStraightAlpha(dc, {destination.left, destination.top}, bitmap_, source);
            }
            break;
    }
}

void CBkImageSkin::Draw(HDC dc, const RECT& rect, int state) {
    if (!loaded_ || bitmap_ == nullptr) {
        return;
    }
    const SIZE bitmap = BitmapSize();
    std::int64_t x = 0;
    std::int64_t width = bitmap.cx;
    if (state != kSkinWholePicture) {
        x = static_cast<std::int64_t>(state) * subWidth_;
        width = subWidth_;
    }
    if (width <= 0 || x < 0 || x >= bitmap.cx) {
        return;  // no frame without subwidth, or a frame outside the bitmap
    }
    width = std::min<std::int64_t>(width, bitmap.cx - x);
    const RECT source = {static_cast<LONG>(x), 0, static_cast<LONG>(x + width), bitmap.cy};
    RECT destination;
    if (stretchX_ != 0 && stretchY_ != 0) {
        if (mode_ == ImageListMode::kAlpha ||
            !ToRect(rect.left, rect.top, stretchX_, stretchY_, destination)) {
            return;  // alpha copies are 1:1 only
        }
        ScopedStretchMode stretch(dc, COLORONCOLOR);
        CopyPart(dc, destination, source);
        return;
    }
    if (ToRect(rect.left, rect.top, width, bitmap.cy, destination)) {
        CopyPart(dc, destination, source);
    }
}

}  // namespace velora
