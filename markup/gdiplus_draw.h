#pragma once

#include <windows.h>

#include "markup/dib32.h"
#include "markup/gdiplus_runtime.h"

namespace velora {

// Turns an image by a GDI+ RotateFlipType code (1-7) and turns it back when
// it goes, so a picture shared by several skins is left as it was found.
class ScopedImageTurn {
  public:
    ScopedImageTurn(gdip::GpImage* image, int code);
    ~ScopedImageTurn();
    ScopedImageTurn(const ScopedImageTurn&) = delete;
    ScopedImageTurn& operator=(const ScopedImageTurn&) = delete;

  private:
    gdip::GpImage* image_ = nullptr;
    int code_ = 0;
};

// The code that undoes `code`: 1 and 3, 5 and 7 undo each other, 2, 4 and 6
// undo themselves.
int InverseTurn(int code);

// The image's current size (it changes when the image is turned).
SIZE ImageSize(gdip::GpImage* image);

// The image's pixels, premultiplied, in a new DIB of the image's size.
Dib32 PremultipliedCopy(gdip::GpImage* image);

// Draws part `source` of `image` scaled over the whole of `target`.
bool DrawImageIntoDib(gdip::GpImage* image, const RECT& source, Dib32& target);

// Draws part `source` of `image` into `destination` on `graphics` (pixel units).
bool DrawImageRect(gdip::GpGraphics* graphics, gdip::GpImage* image, const RECT& destination,
                   const RECT& source, const gdip::GpImageAttributes* attributes = nullptr);

// The same on a device context.
bool DrawImageOnDc(HDC dc, gdip::GpImage* image, const RECT& destination, const RECT& source,
                   const gdip::GpImageAttributes* attributes = nullptr);

}  // namespace velora
