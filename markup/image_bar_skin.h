#pragma once

#include "markup/image_list_skin.h"

namespace velora {

// "imghorzex": a horizontal three-part bar from one bitmap frame: a left
// cap `left` wide and a right cap at 1:1, the column between them stretched.
// Draw reads the state bits (disabled, pushed, hover pick frames 3, 2, 1);
// -1 uses the whole bitmap. The bar is never narrower than the bitmap.
class CBkSkinImgHorzExtend : public CBkSkinBase {
  public:
    static constexpr char kTag[] = "imghorzex";

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    // Every attribute goes to the embedded image list first.
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    void Draw(HDC dc, const RECT& rect, int state) override;
    // Width 0 (the bar takes any width), the bitmap's height.
    SIZE GetSkinSize() override { return {0, list_.BitmapSize().cy}; }
    bool IgnoreState() override { return list_.IgnoreState(); }
    bool LoadPicture() override { return list_.LoadPicture(); }

  private:
    CBkImageSkin list_;
    int left_ = 0;
};

}  // namespace velora
