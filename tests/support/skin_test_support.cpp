#include "tests/support/skin_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/win_handles.h"
#include "markup/gdiplus_runtime.h"
#include "markup/image_pools.h"

namespace velora::test {
namespace {

std::string Encode(int width, int height, const Argb& pixels, const CLSID& encoder) {
    BkPngPool::Instance();  // GDI+ running
    const gdip::Api* api = gdip::Functions();
    if (api == nullptr || pixels.size() != static_cast<std::size_t>(width) * height) {
        ADD_FAILURE() << "cannot encode a picture";
        return {};
    }
    Argb copy = pixels;
    gdip::ScopedImage bitmap;
    api->GdipCreateBitmapFromScan0(width, height, width * 4, gdip::kPixelFormat32bppARGB,
                                   reinterpret_cast<BYTE*>(copy.data()), bitmap.Receive());
    ScopedComPtr<IStream> stream;
    ::CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive());
    if (!bitmap || !stream ||
        api->GdipSaveImageToStream(bitmap.Get(), stream.Get(), &encoder, nullptr) != gdip::kOk) {
        ADD_FAILURE() << "GDI+ could not encode the picture";
        return {};
    }
    ULARGE_INTEGER size = {};
    const LARGE_INTEGER zero = {};
    stream.Get()->Seek(zero, STREAM_SEEK_END, &size);
    HGLOBAL memory = nullptr;
    ::GetHGlobalFromStream(stream.Get(), &memory);
    const void* data = ::GlobalLock(memory);
    std::string bytes(static_cast<const char*>(data), static_cast<std::size_t>(size.QuadPart));
    ::GlobalUnlock(memory);
    return bytes;
}

template <typename T>
void Put(std::string& bytes, T value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

std::string EncodeBmp(int width, int height, const Argb& pixels, int bits) {
    const int stride = ((width * bits / 8) + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * height;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;  // bottom-up
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bits);
    info.biCompression = BI_RGB;
    std::string bytes;
    Put(bytes, file);
    Put(bytes, info);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            row.push_back(static_cast<char>(p & 0xFF));
            row.push_back(static_cast<char>((p >> 8) & 0xFF));
            row.push_back(static_cast<char>((p >> 16) & 0xFF));
            if (bits == 32) {
                row.push_back(static_cast<char>(p >> 24));
            }
        }
        row.resize(static_cast<std::size_t>(stride), '\0');
        bytes += row;
    }
    return bytes;
}

}  // namespace

std::string EncodePng(int width, int height, const Argb& pixels) {
    static const CLSID kPng = {
        0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    return Encode(width, height, pixels, kPng);
}

std::string EncodeJpeg(int width, int height, const Argb& pixels) {
    static const CLSID kJpeg = {
        0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    return Encode(width, height, pixels, kJpeg);
}

std::string EncodeBmp24(int width, int height, const Argb& pixels) {
    return EncodeBmp(width, height, pixels, 24);
}

std::string EncodeBmp32(int width, int height, const Argb& pixels) {
    return EncodeBmp(width, height, pixels, 32);
}

Argb Columns(int height, const std::vector<std::pair<int, std::uint32_t>>& runs) {
    Argb row;
    for (const auto& run : runs) {
        row.insert(row.end(), static_cast<std::size_t>(run.first), run.second);
    }
    Argb pixels;
    for (int y = 0; y < height; ++y) {
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    return pixels;
}

class SkinSources::Provider : public IBkResourceStreamProvider {
  public:
    void Put(const std::string& type, UINT id, std::string bytes) {
        items_[{type, id}] = std::move(bytes);
    }
    bool Read(const char* type, UINT id, std::string& bytes) override {
        ++reads_[{type, id}];
        auto found = items_.find({type, id});
        if (found == items_.end()) {
            return false;
        }
        bytes = found->second;
        return true;
    }
    int Reads(const std::string& type, UINT id) const {
        auto found = reads_.find({type, id});
        return found == reads_.end() ? 0 : found->second;
    }

  private:
    std::map<std::pair<std::string, UINT>, std::string> items_;
    std::map<std::pair<std::string, UINT>, int> reads_;
};

SkinSources::SkinSources() : folder_(L"velora skin test"), provider_(std::make_shared<Provider>()) {
    BkResourceLoader::Instance().SetOverrideDirectory(folder_.Path());
    BkResourceLoader::Instance().SetStreamProvider(provider_);
}

SkinSources::~SkinSources() {
    BkResourceLoader::Instance().SetOverrideDirectory(L"");
    BkResourceLoader::Instance().SetStreamProvider(nullptr);
}

UINT SkinSources::FreshId() {
    static UINT next = 41000;
    return next++;
}

void SkinSources::Table(UINT id, const std::string& entries) {
    provider_->Put(kXmlType, id, "<skins>" + entries + "</skins>");
}

void SkinSources::Document(UINT id, const std::string& text) {
    provider_->Put(kXmlType, id, text);
}

void SkinSources::FolderTable(UINT id, const std::string& entries) {
    WriteFileBytes(folder_ / (std::to_wstring(id) + L".xml"), "<skins>" + entries + "</skins>");
}

UINT SkinSources::Png(std::string bytes) {
    const UINT id = FreshId();
    provider_->Put(kPngType, id, std::move(bytes));
    return id;
}

UINT SkinSources::Jpeg(std::string bytes) {
    const UINT id = FreshId();
    provider_->Put(kJpgType, id, std::move(bytes));
    return id;
}

void SkinSources::BitmapFile(UINT id, const std::string& bytes) {
    WriteFileBytes(folder_ / (std::to_wstring(id) + L".bmp"), bytes);
}

int SkinSources::Reads(const char* type, UINT id) const {
    return provider_->Reads(type, id);
}

long LiveGdiObjects() {
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) {
        return static_cast<long>(counted);
    }
    // Fill the handle table with brushes until it refuses one, then free them.
    constexpr std::size_t kCeiling = 1 << 20;
    std::vector<HGDIOBJ> made;
    made.reserve(1 << 17);
    while (made.size() < kCeiling) {
        HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
        if (brush == nullptr) {
            break;
        }
        made.push_back(brush);
    }
    for (HGDIOBJ object : made) {
        ::DeleteObject(object);
    }
    return static_cast<long>(kCeiling - made.size());
}

}  // namespace velora::test
