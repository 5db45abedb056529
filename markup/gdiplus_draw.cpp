#include "markup/gdiplus_draw.h"

#include <cstring>

namespace velora {

ScopedImageTurn::ScopedImageTurn(gdip::GpImage* image, int code) {
    const gdip::Api* api = gdip::Functions();
    if (api != nullptr && image != nullptr && code >= 1 && code <= 7 &&
        api->GdipImageRotateFlip(image, code) == gdip::kOk) {
        image_ = image;
        code_ = code;
    }
}

ScopedImageTurn::~ScopedImageTurn() {
    if (image_ != nullptr) {
        gdip::Functions()->GdipImageRotateFlip(image_, InverseTurn(code_));
    }
}

int InverseTurn(int code) {
    switch (code) {
        case 1:
            return 3;
        case 3:
            return 1;
        case 5:
            return 7;
        case 7:
            return 5;
        default:
            return code;
    }
}

SIZE ImageSize(gdip::GpImage* image) {
    const gdip::Api* api = gdip::Functions();
    UINT width = 0;
    UINT height = 0;
    if (api != nullptr && image != nullptr) {
        api->GdipGetImageWidth(image, &width);
        api->GdipGetImageHeight(image, &height);
    }
    return {static_cast<LONG>(width), static_cast<LONG>(height)};
}

Dib32 PremultipliedCopy(gdip::GpImage* image) {
    const SIZE size = ImageSize(image);
    Dib32 dib = Dib32::Create(size.cx, size.cy);
    if (!dib.IsValid()) {
        return dib;
    }
    gdip::ScopedBitmapLock lock(image, static_cast<UINT>(size.cx), static_cast<UINT>(size.cy),
                                gdip::kLockRead, gdip::kPixelFormat32bppPARGB);
    if (!lock.IsLocked()) {
        return Dib32();
    }
    for (int y = 0; y < size.cy; ++y) {
        std::memcpy(&dib.At(0, y),
                    static_cast<const BYTE*>(lock.Data().scan0) +
                        static_cast<std::ptrdiff_t>(y) * lock.Data().stride,
                    static_cast<std::size_t>(size.cx) * 4);
    }
    return dib;
}

bool DrawImageIntoDib(gdip::GpImage* image, const RECT& source, Dib32& target) {
    const gdip::Api* api = gdip::Functions();
    if (api == nullptr || image == nullptr || !target.IsValid()) {
        return false;
    }
    // A GDI+ bitmap over the DIB's own pixels keeps alpha, which drawing
    // through a device context would not.
    gdip::ScopedImage surface;
    if (api->GdipCreateBitmapFromScan0(
            target.Width(), target.Height(), target.Width() * 4, gdip::kPixelFormat32bppPARGB,
            reinterpret_cast<BYTE*>(target.Pixels()), surface.Receive()) != gdip::kOk) {
        surface.Release();
        return false;
    }
    gdip::ScopedGraphics graphics;
    if (api->GdipGetImageGraphicsContext(surface.Get(), graphics.Receive()) != gdip::kOk) {
        graphics.Release();
        return false;
    }
    const RECT whole = {0, 0, target.Width(), target.Height()};
    return DrawImageRect(graphics.Get(), image, whole, source);
}

bool DrawImageRect(gdip::GpGraphics* graphics, gdip::GpImage* image, const RECT& destination,
                   const RECT& source, const gdip::GpImageAttributes* attributes) {
    const gdip::Api* api = gdip::Functions();
    if (api == nullptr || graphics == nullptr || image == nullptr) {
        return false;
    }
    return api->GdipDrawImageRectRectI(
               graphics, image, destination.left, destination.top,
               destination.right - destination.left, destination.bottom - destination.top,
               source.left, source.top, source.right - source.left, source.bottom - source.top,
               gdip::kUnitPixel, attributes, nullptr, nullptr) == gdip::kOk;
}

bool DrawImageOnDc(HDC dc, gdip::GpImage* image, const RECT& destination, const RECT& source,
                   const gdip::GpImageAttributes* attributes) {
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    return graphics && DrawImageRect(graphics.Get(), image, destination, source, attributes);
}

}  // namespace velora
