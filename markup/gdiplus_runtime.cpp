#include "markup/gdiplus_runtime.h"

#include "markup/system_library.h"

namespace velora::gdip {
namespace {

// The loaded library and its resolved functions. `api` is null unless every
// listed function was found.
struct Binding {
    ScopedModule module;
    Api table;
    const Api* api = nullptr;

    Binding() : module(LoadSystemLibrary(L"gdiplus.dll")) {
        if (!module) {
            return;
        }
        bool complete = true;
#define VELORA_GDIPLUS_RESOLVE(name, result, params)                     \
    table.name = reinterpret_cast<result(WINAPI*) params>(               \
        reinterpret_cast<void*>(::GetProcAddress(module.Get(), #name))); \
    complete = complete && table.name != nullptr;
        VELORA_GDIPLUS_FUNCTIONS(VELORA_GDIPLUS_RESOLVE)
#undef VELORA_GDIPLUS_RESOLVE
        if (complete) {
            api = &table;
        }
    }
};

}  // namespace

const Api* Functions() {
    static Binding binding;
    return binding.api;
}

Session::Session() {
    const Api* api = Functions();
    const StartupInput input;
    if (api == nullptr || api->GdiplusStartup(&token_, &input, nullptr) != kOk) {
        token_ = 0;
    }
}

Session::~Session() {
    if (token_ != 0) {
        Functions()->GdiplusShutdown(token_);
    }
}

void ImageTraits::Close(Type image) {
    Functions()->GdipDisposeImage(image);
}

void GraphicsTraits::Close(Type graphics) {
    Functions()->GdipDeleteGraphics(graphics);
}

void ImageAttributesTraits::Close(Type attributes) {
    Functions()->GdipDisposeImageAttributes(attributes);
}

void FontTraits::Close(Type font) {
    Functions()->GdipDeleteFont(font);
}

void BrushTraits::Close(Type brush) {
    Functions()->GdipDeleteBrush(brush);
}

void PenTraits::Close(Type pen) {
    Functions()->GdipDeletePen(pen);
}

void StringFormatTraits::Close(Type format) {
    Functions()->GdipDeleteStringFormat(format);
}

void PathTraits::Close(Type path) {
    Functions()->GdipDeletePath(path);
}

ScopedGraphics GraphicsOnDc(HDC dc) {
    ScopedGraphics graphics;
    const Api* api = Functions();
    if (api != nullptr && dc != nullptr && api->GdipCreateFromHDC(dc, graphics.Receive()) != kOk) {
        graphics.Release();  // failed calls leave nothing to delete
    }
    return graphics;
}

ScopedBitmapLock::ScopedBitmapLock(GpBitmap* bitmap, UINT width, UINT height, UINT mode, INT format,
                                   BitmapData* userBuffer)
    : bitmap_(bitmap) {
    const Api* api = Functions();
    if (api == nullptr || bitmap == nullptr) {
        return;
    }
    if (userBuffer != nullptr) {
        data_ = *userBuffer;
        mode |= kLockUserInputBuffer;
    }
    const Rect rect = {0, 0, static_cast<INT>(width), static_cast<INT>(height)};
    locked_ = api->GdipBitmapLockBits(bitmap, &rect, mode, format, &data_) == kOk;
}

ScopedBitmapLock::~ScopedBitmapLock() {
    if (locked_) {
        Functions()->GdipBitmapUnlockBits(bitmap_, &data_);
    }
}

}  // namespace velora::gdip
