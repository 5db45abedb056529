#include "ui/shadow_canvas.h"

#include <cstring>
#include <utility>

namespace velora {

ShadowCanvas::ShadowCanvas(ShadowCanvas&& other) noexcept
    : dc_(std::move(other.dc_)),
      bitmap_(std::move(other.bitmap_)),
      selection_(std::move(other.selection_)),
      bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

ShadowCanvas ShadowCanvas::Create(int width, int height) {
    ShadowCanvas canvas;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        return canvas;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: bottom-up rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    canvas.bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    canvas.dc_.Reset(::CreateCompatibleDC(nullptr));
    if (!canvas.bitmap_ || !canvas.dc_ || bits == nullptr) {
        return ShadowCanvas();
    }
    std::memset(bits, 0, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    canvas.selection_ = ScopedSelectObject(canvas.dc_.Get(), canvas.bitmap_.Get());
    if (!canvas.selection_.IsSelected()) {
        return ShadowCanvas();
    }
    canvas.bits_ = static_cast<std::uint32_t*>(bits);
    canvas.width_ = width;
    canvas.height_ = height;
    return canvas;
}

std::uint32_t ShadowCanvas::PixelAt(int x, int y) const {
    if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    ::GdiFlush();
    return bits_[static_cast<std::size_t>(height_ - 1 - y) * width_ + x];
}

}  // namespace velora
