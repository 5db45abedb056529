#include "markup/file_skins.h"

#include <algorithm>
#include <cstring>

#include "markup/attribute_reader.h"
#include "markup/prepared_bitmap_pool.h"

namespace velora {
namespace {

RECT WholeOf(const Dib32& dib) {
    return {0, 0, dib.Width(), dib.Height()};
}

// `source` cut to the picture; false when nothing is left.
bool ClipSource(const Dib32& picture, const RECT& destination, const RECT& source,
                RECT& clippedDestination, RECT& clippedSource) {
    const PartCopy copy = {destination.left,
                           destination.top,
                           static_cast<std::int64_t>(destination.right) - destination.left,
                           static_cast<std::int64_t>(destination.bottom) - destination.top,
                           source.left,
                           source.top,
                           static_cast<std::int64_t>(source.right) - source.left,
                           static_cast<std::int64_t>(source.bottom) - source.top};
    return ClipToPicture(copy, picture.Width(), picture.Height(), clippedDestination,
                         clippedSource);
}

}  // namespace

bool CBkNormalSkin::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkSkinBase::SetAttribute(name, value, loading) || layout_.SetAttribute(name, value) ||
           r.Unsigned("src", src_) || r.Text("file", file_) || r.Int("alpha", alpha_) ||
           r.Text("extern_alpha_key", externAlphaKey_) || r.Flag("flip", flip_);
}

bool CBkNormalSkin::LoadPicture() {
    if (!loaded_) {
        picture_ = BkSkinPool::Instance().Find(src_);
        loaded_ = picture_ != nullptr;
    }
    return loaded_;
}

BYTE CBkNormalSkin::ConstantAlpha() const {
    return alpha_ >= 1 && alpha_ <= 255 ? static_cast<BYTE>(alpha_) : 255;
}

SIZE CBkNormalSkin::GetSkinSize() {
    const int width = picture_ != nullptr ? picture_->Width() : 0;
    const int height = picture_ != nullptr ? picture_->Height() : 0;
    return {layout_.subWidth != 0 ? layout_.subWidth : width, height};
}

void CBkNormalSkin::Draw(HDC dc, const RECT& rect, int state) {
    if (!loaded_) {
        return;
    }
    RECT visible = rect;
    if (::GetClipBox(dc, &visible) == ERROR) {
        visible = rect;
    }
    const Dib32& picture = *picture_;
    const DibBlender blender(dc, picture);
    LayOutPicture(
        layout_, picture.Width(), picture.Height(), rect, state, visible,
        [&](const PartCopy& copy) {
            RECT destination;
            RECT source;
            if (ClipToPicture(copy, picture.Width(), picture.Height(), destination, source)) {
                blender.Blend(destination, source, ConstantAlpha());
            }
        });
}

void CBkNormalSkin::DrawPartAlpha(HDC dc, const RECT& destination, const RECT& source, int alpha) {
    RECT to;
    RECT from;
    if (loaded_ && ClipSource(*picture_, destination, source, to, from)) {
        BlendDib(dc, to, *picture_, from, static_cast<BYTE>(std::clamp(alpha, 0, 255)));
    }
}

void CBkNormalSkin::DrawPartScaled(HDC dc, const RECT& destination, const RECT& source) {
    RECT to;
    RECT from;
    if (loaded_ && ClipSource(*picture_, destination, source, to, from)) {
        BlendDib(dc, to, *picture_, from);
    }
}

void CBkNormalSkin::DrawTiled(HDC dc, const RECT& rect) {
    if (!loaded_) {
        return;
    }
    const long long w = picture_->Width();
    const long long h = picture_->Height();
    RECT visible = rect;
    if (::GetClipBox(dc, &visible) == ERROR) {
        visible = rect;
    }
    const DibBlender blender(dc, *picture_);
    const long long firstRow = std::max(0LL, (static_cast<long long>(visible.top) - rect.top) / h);
    const long long firstColumn =
        std::max(0LL, (static_cast<long long>(visible.left) - rect.left) / w);
    for (long long y = rect.top + firstRow * h; y + h <= rect.bottom && y < visible.bottom;
         y += h) {
        for (long long x = rect.left + firstColumn * w; x + w <= rect.right && x < visible.right;
             x += w) {
            const RECT tile = {static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + w),
                               static_cast<LONG>(y + h)};
            blender.Blend(tile, WholeOf(*picture_));
        }
    }
}

void CBkNormalSkin::DrawGray(HDC dc, const RECT& destination, const RECT& source) {
    if (!loaded_) {
        return;
    }
    if (!grey_.IsValid()) {
        Dib32 grey = Dib32::Create(picture_->Width(), picture_->Height());
        if (!grey.IsValid()) {
            return;
        }
        std::memcpy(grey.Pixels(), picture_->Pixels(),
                    static_cast<std::size_t>(grey.Width()) * grey.Height() * 4);
        GreyOut(grey);
        grey_ = std::move(grey);
    }
    RECT to;
    RECT from;
    if (ClipSource(grey_, destination, source, to, from)) {
        BlendDib(dc, to, grey_, from);
    }
}

void CBkNormalSkin::DrawPartDirect(gdip::GpGraphics*, const RECT&, const RECT&) {}

bool CBkNormalPngSkin::IsClass(const char* tag) const {
    return tag != nullptr && std::strcmp(tag, kTag) == 0;
}

bool CBkNormalJPGSkin::IsClass(const char* tag) const {
    return tag != nullptr && std::strcmp(tag, kTag) == 0;
}

}  // namespace velora
