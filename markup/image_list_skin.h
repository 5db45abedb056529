#pragma once

#include <string>

#include "markup/skin_base.h"

namespace velora {

// How an image list puts its bitmap on the target.
enum class ImageListMode { kNone, kMask, kAlpha };

// "imglst": frames of a bitmap from the bitmap pool, copied opaque, with a
// transparent key colour, or (32-bit bitmaps, 1:1 only) by per-pixel alpha.
// Draw reads a state index; -1 draws the whole bitmap. The frame and bar
// skins embed one and use its bitmap and copy mode.
class CBkImageSkin : public CBkSkinBase {
  public:
    static constexpr char kTag[] = "imglst";

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    void Draw(HDC dc, const RECT& rect, int state) override;
    SIZE GetSkinSize() override;
    bool IgnoreState() override { return subWidth_ == 0; }
    bool LoadPicture() override;

    // --- For the skins that embed an image list -------------------------
    bool IsLoaded() const { return loaded_; }
    // The bitmap, or null.
    HBITMAP Bitmap() const { return bitmap_; }
    SIZE BitmapSize() const;
    int SubWidth() const { return subWidth_; }
    ImageListMode Mode() const { return mode_; }
    // Copies bitmap part `source` to `destination` in the list's mode,
    // stretched when the sizes differ; alpha copies only at 1:1.
    void CopyPart(HDC dc, const RECT& destination, const RECT& source) const;

  private:
    std::string src_;
    ImageListMode mode_ = ImageListMode::kNone;
    COLORREF maskColor_ = RGB(0xFF, 0x00, 0xFF);
    int subWidth_ = 0;
    int stretchX_ = 0;
    int stretchY_ = 0;
    HBITMAP bitmap_ = nullptr;  // owned by the bitmap pool
    bool loaded_ = false;
};

}  // namespace velora
