#include "markup/dib32.h"

#include <cstring>

namespace velora {

Dib32 Dib32::Create(int width, int height) {
    Dib32 dib;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        return dib;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib.bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.bitmap_ || bits == nullptr) {
        dib.bitmap_.Reset();
        return dib;
    }
    dib.pixels_ = static_cast<std::uint32_t*>(bits);
    dib.width_ = width;
    dib.height_ = height;
    std::memset(bits, 0, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    return dib;
}

DibBlender::DibBlender(HDC target, const Dib32& source)
    : target_(target),
      memory_(source.IsValid() ? ::CreateCompatibleDC(target) : nullptr),
      selected_(memory_.Get(), source.Handle()) {}

bool DibBlender::Blend(const RECT& destination, const RECT& part, BYTE constantAlpha) const {
    const int dw = destination.right - destination.left;
    const int dh = destination.bottom - destination.top;
    const int sw = part.right - part.left;
    const int sh = part.bottom - part.top;
    if (!selected_.IsSelected() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) {
        return false;
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, constantAlpha, AC_SRC_ALPHA};
    return ::GdiAlphaBlend(target_, destination.left, destination.top, dw, dh, memory_.Get(),
                           part.left, part.top, sw, sh, blend) != FALSE;
}

bool BlendDib(HDC dc, const RECT& destination, const Dib32& source, const RECT& part,
              BYTE constantAlpha) {
    return DibBlender(dc, source).Blend(destination, part, constantAlpha);
}

void GreyOut(Dib32& dib) {
    if (!dib.IsValid()) {
        return;
    }
    const int count = dib.Width() * dib.Height();
    std::uint32_t* pixels = dib.Pixels();
    for (int i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        if (p == 0) {
            continue;
        }
        const std::uint32_t blue = p & 0xFF;
        const std::uint32_t green = (p >> 8) & 0xFF;
        const std::uint32_t red = (p >> 16) & 0xFF;
        const std::uint32_t grey = (green * 59 + red * 30 + blue * 11) / 100;
        pixels[i] = (p & 0xFF000000u) | (grey << 16) | (grey << 8) | grey;
    }
}

}  // namespace velora
