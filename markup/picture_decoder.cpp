#include "markup/picture_decoder.h"

#include <climits>
#include <cstring>

#include <stb_image.h>

namespace velora {

void DecodedPixelsTraits::Close(Type pixels) {
    stbi_image_free(pixels);
}

bool IsPngOrJpeg(const std::string& bytes) {
    static const char kPng[] = "\x89PNG\r\n\x1a\n";
    static const char kJpeg[] = "\xFF\xD8\xFF";
    return bytes.compare(0, sizeof(kPng) - 1, kPng) == 0 ||
           bytes.compare(0, sizeof(kJpeg) - 1, kJpeg) == 0;
}

DecodedPixels DecodePngOrJpeg(const std::string& bytes) {
    DecodedPixels result;
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX) || !IsPngOrJpeg(bytes)) {
        return result;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    result.bgra.Reset(stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                            static_cast<int>(bytes.size()), &width, &height,
                                            &channels, 4));
    if (!result.bgra || width <= 0 || height <= 0) {
        result.bgra.Reset();
        return result;
    }
    // stb gives R, G, B, A; GDI+ wants B, G, R, A.
    unsigned char* pixel = result.bgra.Get();
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < count; ++i, pixel += 4) {
        const unsigned char red = pixel[0];
        pixel[0] = pixel[2];
        pixel[2] = red;
    }
    result.width = static_cast<UINT>(width);
    result.height = static_cast<UINT>(height);
    return result;
}

}  // namespace velora
