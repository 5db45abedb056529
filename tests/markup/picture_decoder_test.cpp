// PNG and JPEG decoding without GDI+'s decoders, checked against what GDI+
// decodes from the same bytes.
#include "markup/picture_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "markup/gdiplus_runtime.h"
#include "markup/image_pools.h"
#include "markup/resource_loader.h"
#include "tests/support/skin_test_support.h"

namespace velora {
namespace {

// GDI+'s own decoding of `bytes` as 32bppARGB rows (B, G, R, A), or empty.
std::string GdiplusPixels(const std::string& bytes, UINT& width, UINT& height) {
    BkPngPool::Instance();  // GDI+ running
    const gdip::Api* api = gdip::Functions();
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    gdip::ScopedImage image;
    std::string pixels;
    if (stream != nullptr && SUCCEEDED(stream->Write(bytes.data(), bytes.size(), nullptr)) &&
        api->GdipLoadImageFromStream(stream, image.Receive()) == gdip::kOk) {
        api->GdipGetImageWidth(image.Get(), &width);
        api->GdipGetImageHeight(image.Get(), &height);
        gdip::ScopedBitmapLock lock(image.Get(), width, height, gdip::kLockRead,
                                    gdip::kPixelFormat32bppARGB);
        for (UINT y = 0; lock.IsLocked() && y < height; ++y) {
            pixels.append(static_cast<const char*>(lock.Data().scan0) + y * lock.Data().stride,
                          width * 4);
        }
    }
    image.Reset();
    if (stream != nullptr) {
        stream->Release();
    }
    return pixels;
}

std::string BuiltInPng(UINT id) {
    std::string bytes;
    EXPECT_TRUE(BkResourceLoader::Instance().LoadImageBytes(id, "png", bytes)) << id;
    return bytes;
}

TEST(PictureDecoderTest, PixelsAreGdiplusPixels) {
    // A built-in PNG with straight alpha (the shadow), an opaque one, and a
    // JPEG of two flat halves. JPEG decoders may round differently, and they
    // interpolate the halved colour planes differently: the two columns at the
    // colour edge are not compared.
    const struct {
        const char* what;
        std::string bytes;
        int tolerance;
        UINT edge;
    } cases[] = {
        {"shadow png", BuiltInPng(60005), 0, 0},
        {"button png", BuiltInPng(60008), 0, 0},
        {"jpeg", test::EncodeJpeg(32, 16, test::Columns(16, {{16, test::kRed}, {16, test::kBlue}})),
         3, 16},
    };
    for (const auto& c : cases) {
        UINT width = 0;
        UINT height = 0;
        const std::string expected = GdiplusPixels(c.bytes, width, height);
        ASSERT_FALSE(expected.empty()) << c.what;
        const DecodedPixels decoded = DecodePngOrJpeg(c.bytes);
        ASSERT_TRUE(decoded.bgra) << c.what;
        ASSERT_EQ(width, decoded.width) << c.what;
        ASSERT_EQ(height, decoded.height) << c.what;
        int worst = 0;
        bool translucent = false;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const UINT x = static_cast<UINT>(i / 4 % width);
            if (c.edge != 0 && (x == c.edge - 1 || x == c.edge)) {
                continue;
            }
            const int got = decoded.bgra.Get()[i];
            worst = std::max(worst, std::abs(got - static_cast<unsigned char>(expected[i])));
            translucent = translucent || (i % 4 == 3 && got != 0 && got != 255);
        }
        EXPECT_LE(worst, c.tolerance) << c.what;
        if (c.bytes == cases[0].bytes) {
            EXPECT_TRUE(translucent) << "the shadow must test straight alpha";
        }
    }
}

TEST(PictureDecoderTest, DamagedBytesDecodeToNothing) {
    const std::string png = BuiltInPng(60008);
    for (const std::string& bytes : {png.substr(0, png.size() / 2), png.substr(0, 8),
                                     std::string("\xFF\xD8\xFF\xE0", 4), std::string("GIF89a")}) {
        EXPECT_FALSE(DecodePngOrJpeg(bytes).bgra) << bytes.size();
        EXPECT_FALSE(DecodeImage(bytes).image) << bytes.size();
    }
}

}  // namespace
}  // namespace velora
