#include "markup/image_bar_skin.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "markup/attribute_reader.h"
#include "markup/picture_layout.h"

namespace velora {
namespace {

constexpr int kHover = 0x01;
constexpr int kPushed = 0x02;
constexpr int kDisabled = 0x10;

int FrameForState(int state) {
    if (state == kSkinWholePicture) {
        return kSkinWholePicture;
    }
    if (state & kDisabled) {
        return 3;
    }
    if (state & kPushed) {
        return 2;
    }
    return state & kHover;
}

}  // namespace

bool CBkSkinImgHorzExtend::IsClass(const char* tag) const {
    return tag != nullptr && std::strcmp(tag, kTag) == 0;
}

bool CBkSkinImgHorzExtend::SetAttribute(const std::string& name, const std::string& value,
                                        bool loading) {
    return list_.SetAttribute(name, value, loading) ||
           AttributeReader(name, value).Int("left", left_);
}

void CBkSkinImgHorzExtend::Draw(HDC dc, const RECT& rect, int state) {
    if (!list_.IsLoaded() || list_.Bitmap() == nullptr || list_.Mode() == ImageListMode::kAlpha) {
        return;  // alpha image lists copy only at 1:1, which a stretched bar cannot
    }
    using I64 = std::int64_t;
    const SIZE bitmap = list_.BitmapSize();
    const I64 W = bitmap.cx, H = bitmap.cy;
    const int frame = FrameForState(state);
    const I64 offset = frame == kSkinWholePicture ? 0 : static_cast<I64>(frame) * list_.SubWidth();
    const I64 x0 = rect.left, y0 = rect.top;
    const I64 x1 = std::max<I64>(rect.right, x0 + W);  // never narrower than the bitmap
    const I64 frameWidth = list_.SubWidth() > 0 ? list_.SubWidth() : W;
    const I64 a = left_;

    const auto copy = [&](I64 dx, I64 dw, I64 sx, I64 sw) {
        RECT destination;
        RECT source;
        if (dw > 0 && sw > 0 && H > 0 && ToRect(dx, y0, dw, H, destination) &&
            ToRect(offset + sx, 0, sw, H, source)) {
            list_.CopyPart(dc, destination, source);
        }
    };
    copy(x0, a, 0, a);
    copy(x1 + a - frameWidth + 1, frameWidth - a - 1, a + 1, frameWidth - a - 1);
    copy(x0 + a, (x1 - x0) - frameWidth + 1, a, 1);
}

}  // namespace velora
