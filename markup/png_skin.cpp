#include "markup/png_skin.h"

#include <algorithm>
#include <cstring>

#include "markup/attribute_reader.h"
#include "markup/gdiplus_draw.h"

namespace velora {
namespace {

RECT WholeOf(SIZE size) {
    return {0, 0, size.cx, size.cy};
}

int Width(const RECT& r) {
    return r.right - r.left;
}

int Height(const RECT& r) {
    return r.bottom - r.top;
}

}  // namespace

bool CBkPngSkin::IsClass(const char* tag) const {
    return tag != nullptr && std::strcmp(tag, kTag) == 0;
}

bool CBkPngSkin::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkSkinBase::SetAttribute(name, value, loading) || layout_.SetAttribute(name, value) ||
           r.Unsigned("src", src_) || r.Flag("flip", flip_) || r.Int("fliptype", flipType_);
}

bool CBkPngSkin::LoadPicture() {
    if (!loaded_) {
        image_ = &BkPngPool::Instance().Get(src_);
        loaded_ = true;
    }
    return loaded_;
}

gdip::GpImage* CBkPngSkin::Picture() const {
    return loaded_ && image_ != nullptr ? image_->image.Get() : nullptr;
}

int CBkPngSkin::FlipTurn() const {
    return flip_ ? gdip::kRotateNoneFlipX : 0;
}

SIZE CBkPngSkin::GetSkinSize() {
    const SIZE picture = ImageSize(Picture());
    return {layout_.subWidth != 0 ? layout_.subWidth : picture.cx, picture.cy};
}

void CBkPngSkin::Draw(HDC dc, const RECT& rect, int state) {
    gdip::GpImage* picture = Picture();
    if (picture == nullptr) {
        return;
    }
    if (flip_) {
        flipType_ = gdip::kRotateNoneFlipX;
    }
    if (!prepared_.IsValid()) {
        // The copy keeps the orientation of the turn made for it.
        ScopedImageTurn turn(picture, flipType_);
        prepared_ = PremultipliedCopy(picture);
        if (!prepared_.IsValid()) {
            return;
        }
    }
    RECT visible = rect;
    if (::GetClipBox(dc, &visible) == ERROR) {
        visible = rect;
    }
    const int width = prepared_.Width();
    const int height = prepared_.Height();
    const DibBlender blender(dc, prepared_);
    LayOutPicture(layout_, width, height, rect, state, visible, [&](const PartCopy& copy) {
        RECT destination;
        RECT source;
        if (ClipToPicture(copy, width, height, destination, source)) {
            blender.Blend(destination, source);
        }
    });
}

void CBkPngSkin::DrawPart(gdip::GpGraphics* graphics, const RECT& destination, const RECT& source,
                          const gdip::GpImageAttributes* attributes) {
    const gdip::Api* api = gdip::Functions();
    gdip::GpImage* picture = Picture();
    if (picture == nullptr || graphics == nullptr) {
        return;
    }
    api->GdipDrawImageRectRect(
        graphics, picture, static_cast<float>(destination.left),
        static_cast<float>(destination.top), static_cast<float>(Width(destination)),
        static_cast<float>(Height(destination)), static_cast<float>(source.left),
        static_cast<float>(source.top), static_cast<float>(Width(source)),
        static_cast<float>(Height(source)), gdip::kUnitPixel, attributes, nullptr, nullptr);
}

void CBkPngSkin::DrawRotated(HDC dc, const POINT (&corners)[3], const RECT& source) {
    gdip::GpImage* picture = Picture();
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    if (picture == nullptr || !graphics) {
        return;
    }
    ScopedImageTurn turn(picture, FlipTurn());
    const gdip::Point points[3] = {
        {corners[0].x, corners[0].y}, {corners[1].x, corners[1].y}, {corners[2].x, corners[2].y}};
    gdip::Functions()->GdipDrawImagePointsRectI(graphics.Get(), picture, points, 3, source.left,
                                                source.top, Width(source), Height(source),
                                                gdip::kUnitPixel, nullptr, nullptr, nullptr);
}

void CBkPngSkin::DrawPartAlpha(HDC dc, const RECT& destination, const RECT& source, int alpha) {
    gdip::GpImage* picture = Picture();
    if (picture == nullptr) {
        return;
    }
    Dib32 part = Dib32::Create(Width(destination), Height(destination));
    ScopedImageTurn turn(picture, FlipTurn());
    if (DrawImageIntoDib(picture, source, part)) {
        BlendDib(dc, destination, part, WholeOf({part.Width(), part.Height()}),
                 static_cast<BYTE>(std::clamp(alpha, 0, 255)));
    }
}

void CBkPngSkin::DrawPartScaled(HDC dc, const RECT& destination, const RECT& source) {
    gdip::GpImage* picture = Picture();
    if (picture == nullptr) {
        return;
    }
    ScopedImageTurn turn(picture, FlipTurn());
    DrawImageOnDc(dc, picture, destination, source);
}

void CBkPngSkin::DrawTiled(HDC dc, const RECT& rect) {
    gdip::GpImage* picture = Picture();
    const SIZE size = ImageSize(picture);
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    if (picture == nullptr || size.cx <= 0 || size.cy <= 0 || !graphics) {
        return;
    }
    // Only tiles that meet the visible area are drawn, which bounds the work
    // by the screen rather than by the rectangle.
    RECT visible = rect;
    if (::GetClipBox(dc, &visible) == ERROR) {
        visible = rect;
    }
    ScopedImageTurn turn(picture, FlipTurn());
    const RECT whole = WholeOf(size);
    const long long firstRow =
        std::max(0LL, (static_cast<long long>(visible.top) - rect.top) / size.cy);
    const long long firstColumn =
        std::max(0LL, (static_cast<long long>(visible.left) - rect.left) / size.cx);
    for (long long y = rect.top + firstRow * size.cy;
         y + size.cy <= rect.bottom && y < visible.bottom; y += size.cy) {
        for (long long x = rect.left + firstColumn * size.cx;
             x + size.cx <= rect.right && x < visible.right; x += size.cx) {
            const RECT tile = {static_cast<LONG>(x), static_cast<LONG>(y),
                               static_cast<LONG>(x + size.cx), static_cast<LONG>(y + size.cy)};
            DrawImageRect(graphics.Get(), picture, tile, whole);
        }
    }
}

void CBkPngSkin::DrawGray(HDC dc, const RECT& destination, const RECT& source) {
    gdip::GpImage* picture = Picture();
    if (picture == nullptr) {
        return;
    }
    if (!grey_.IsValid()) {
        Dib32 grey = Dib32::Create(Width(destination), Height(destination));
        ScopedImageTurn turn(picture, FlipTurn());
        if (!DrawImageIntoDib(picture, source, grey)) {
            return;
        }
        GreyOut(grey);
        grey_ = std::move(grey);
    }
    BlendDib(dc, destination, grey_, WholeOf({grey_.Width(), grey_.Height()}));
}

void CBkPngSkin::DrawMirrored(HDC dc, const RECT& rect) {
    gdip::GpImage* picture = Picture();
    if (picture == nullptr) {
        return;
    }
    ScopedImageTurn turn(picture, gdip::kRotateNoneFlipX);
    DrawImageOnDc(dc, picture, rect, WholeOf(ImageSize(picture)));
}

void CBkPngSkin::DrawPartDirect(gdip::GpGraphics* graphics, const RECT& destination,
                                const RECT& source) {
    gdip::GpImage* picture = Picture();
    if (picture == nullptr) {
        return;
    }
    ScopedImageTurn turn(picture, FlipTurn());
    DrawImageRect(graphics, picture, destination, source);
}

}  // namespace velora
