#include "markup/image_pools.h"

#include <cstring>
#include <string>

#include "base/gdi_scopes.h"
#include "base/win_handles.h"
#include "markup/dib32.h"
#include "markup/picture_decoder.h"
#include "markup/resource_loader.h"

namespace velora {
namespace {

using ScopedStream = ScopedComPtr<IStream>;

// Resource ids are 16 bits; a larger number would silently name another one.
bool IsResourceId(UINT id) {
    return id != 0 && id <= 0xFFFF;
}

// A memory stream over a private copy of `bytes`.
ScopedStream StreamOver(const std::string& bytes) {
    ScopedGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    void* data = memory ? ::GlobalLock(memory.Get()) : nullptr;
    if (data == nullptr) {
        return ScopedStream();
    }
    std::memcpy(data, bytes.data(), bytes.size());
    ::GlobalUnlock(memory.Get());
    ScopedStream stream;
    if (FAILED(::CreateStreamOnHGlobal(memory.Get(), TRUE, stream.Receive()))) {
        stream.Release();
        return ScopedStream();
    }
    memory.Release();  // the stream frees it
    return stream;
}

// GDI+ may keep reading from the stream an image was loaded from; a copy of
// the pixels into a bitmap of its own makes the picture independent of it.
gdip::ScopedImage DetachedCopy(gdip::GpImage* decoded, UINT width, UINT height) {
    const gdip::Api* api = gdip::Functions();
    gdip::ScopedImage copy;
    if (api->GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0,
                                       gdip::kPixelFormat32bppARGB, nullptr,
                                       copy.Receive()) != gdip::kOk) {
        copy.Release();
        return copy;
    }
    gdip::ScopedBitmapLock from(decoded, width, height, gdip::kLockRead,
                                gdip::kPixelFormat32bppARGB);
    gdip::ScopedBitmapLock to(copy.Get(), width, height, gdip::kLockWrite,
                              gdip::kPixelFormat32bppARGB);
    if (!from.IsLocked() || !to.IsLocked()) {
        copy.Reset();
        return copy;
    }
    for (UINT y = 0; y < height; ++y) {
        std::memcpy(static_cast<BYTE*>(to.Data().scan0) + y * to.Data().stride,
                    static_cast<const BYTE*>(from.Data().scan0) + y * from.Data().stride,
                    static_cast<std::size_t>(width) * 4);
    }
    return copy;
}

// A GDI+ bitmap of its own holding decoded pixels, so everything that draws
// pictures keeps drawing GDI+ images.
BkImage BitmapOf(const DecodedPixels& pixels) {
    BkImage result;
    const gdip::Api* api = gdip::Functions();
    gdip::ScopedImage bitmap;
    if (api->GdipCreateBitmapFromScan0(
            static_cast<INT>(pixels.width), static_cast<INT>(pixels.height), 0,
            gdip::kPixelFormat32bppARGB, nullptr, bitmap.Receive()) != gdip::kOk) {
        return result;
    }
    {
        gdip::ScopedBitmapLock to(bitmap.Get(), pixels.width, pixels.height, gdip::kLockWrite,
                                  gdip::kPixelFormat32bppARGB);
        if (!to.IsLocked()) {
            return result;
        }
        const std::size_t row = static_cast<std::size_t>(pixels.width) * 4;
        for (UINT y = 0; y < pixels.height; ++y) {
            std::memcpy(static_cast<BYTE*>(to.Data().scan0) + y * to.Data().stride,
                        pixels.bgra.Get() + y * row, row);
        }
    }
    result.image = std::move(bitmap);
    result.width = pixels.width;
    result.height = pixels.height;
    return result;
}

// Other formats (only picture files can be one) through GDI+'s decoders.
BkImage DecodeThroughGdiplus(const std::string& bytes) {
    BkImage result;
    const gdip::Api* api = gdip::Functions();
    ScopedStream stream = StreamOver(bytes);
    gdip::ScopedImage decoded;
    if (!stream || api->GdipLoadImageFromStream(stream.Get(), decoded.Receive()) != gdip::kOk) {
        decoded.Release();
        return result;
    }
    UINT width = 0;
    UINT height = 0;
    api->GdipGetImageWidth(decoded.Get(), &width);
    api->GdipGetImageHeight(decoded.Get(), &height);
    if (width == 0 || height == 0 || width > static_cast<UINT>(Dib32::kMaxSide) ||
        height > static_cast<UINT>(Dib32::kMaxSide)) {
        return result;
    }
    result.image = DetachedCopy(decoded.Get(), width, height);
    if (result.image) {
        result.width = width;
        result.height = height;
    }
    return result;
}

}  // namespace

BkImage DecodeImage(const std::string& bytes) {
    if (gdip::Functions() == nullptr || bytes.empty()) {
        return BkImage();
    }
    if (!IsPngOrJpeg(bytes)) {
        return DecodeThroughGdiplus(bytes);
    }
    const DecodedPixels pixels = DecodePngOrJpeg(bytes);
    return pixels.bgra ? BitmapOf(pixels) : BkImage();
}

const BkImage& BkImageCache::Get(UINT id) {
    auto found = images_.find(id);
    if (found != images_.end()) {
        return found->second;
    }
    std::string bytes;
    BkImage image;
    if (IsResourceId(id) && BkResourceLoader::Instance().LoadImageBytes(id, type_, bytes)) {
        image = DecodeImage(bytes);
    }
    return images_.emplace(id, std::move(image)).first->second;
}

BkPngPool& BkPngPool::Instance() {
    static BkPngPool pool;
    return pool;
}

BkJpgPool& BkJpgPool::Instance() {
    // JPEG decoding needs GDI+ running: the PNG pool starts it, and made
    // first it is also destroyed last, after the JPEG pictures.
    BkPngPool::Instance();
    static BkJpgPool pool;
    return pool;
}

}  // namespace velora
