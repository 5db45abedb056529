#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "markup/gdiplus_runtime.h"

namespace velora {

// A decoded picture. `image` is empty when the bytes were missing or could
// not be decoded; skins then draw nothing and report a size of 0 x 0.
struct BkImage {
    gdip::ScopedImage image;
    UINT width = 0;
    UINT height = 0;
};

// Decodes picture bytes into a GDI+ bitmap of its own, or an empty one for
// bytes that cannot be read or a picture larger than a DIB may be. PNG and
// JPEG are decoded without GDI+'s decoders (picture_decoder.h); other formats,
// which only picture files read from disk can be, through them.
BkImage DecodeImage(const std::string& bytes);

// Pictures of one resource type ("png" or "jpg") by id. Each id is decoded
// once, on its first request, and kept, failures included.
class BkImageCache {
  public:
    explicit BkImageCache(const char* type) : type_(type) {}
    BkImageCache(const BkImageCache&) = delete;
    BkImageCache& operator=(const BkImageCache&) = delete;

    const BkImage& Get(UINT id);

  private:
    const char* type_;
    std::map<UINT, BkImage> images_;
};

// PNG pictures by resource id. Creating the pool starts GDI+, destroying it
// (at process end) shuts GDI+ down after its pictures are gone.
class BkPngPool {
  public:
    static BkPngPool& Instance();
    const BkImage& Get(UINT id) { return cache_.Get(id); }
    bool IsGdiplusStarted() const { return session_.IsStarted(); }

  private:
    BkPngPool() = default;
    gdip::Session session_;  // first member: outlives the pictures
    BkImageCache cache_{"png"};
};

// JPEG pictures by resource id, held as bitmaps of the GDI+ the PNG pool runs.
class BkJpgPool {
  public:
    static BkJpgPool& Instance();
    const BkImage& Get(UINT id) { return cache_.Get(id); }

  private:
    BkJpgPool() = default;
    BkImageCache cache_{"jpg"};
};

}  // namespace velora
