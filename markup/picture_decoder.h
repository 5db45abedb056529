#pragma once

#include <windows.h>

#include <string>

#include "base/unique_resource.h"

namespace velora {

struct DecodedPixelsTraits {
    using Type = unsigned char*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type pixels) { return pixels != nullptr; }
    static void Close(Type pixels);
};

// A PNG or JPEG picture's pixels: rows from the top, 4 bytes a pixel in the
// order B, G, R, A with straight alpha (GDI+'s 32bppARGB).
struct DecodedPixels {
    UniqueResource<DecodedPixelsTraits> bgra;
    UINT width = 0;
    UINT height = 0;
};

// Whether `bytes` start like a PNG or a JPEG file.
bool IsPngOrJpeg(const std::string& bytes);

// Decodes PNG or JPEG bytes without GDI+ (whose decoders bring in the Windows
// imaging component). Empty for damaged or truncated bytes, other formats and
// pictures larger than a DIB may be.
DecodedPixels DecodePngOrJpeg(const std::string& bytes);

}  // namespace velora
