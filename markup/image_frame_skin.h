#pragma once

#include "markup/image_list_skin.h"

namespace velora {

// "imgframe": a nine-part frame cut from a whole bitmap: borders `left`
// wide and `top` high, one middle column and row stretched, optional centre
// fill `crbg`. `part` leaves out borders so frames can be stacked.
class CBkSkinImgFrame : public CBkSkinBase {
  public:
    static constexpr char kTag[] = "imgframe";

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    // Every attribute goes to the embedded image list first.
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    // The state is not used.
    void Draw(HDC dc, const RECT& rect, int state) override;
    bool IgnoreState() override { return list_.IgnoreState(); }
    bool LoadPicture() override { return list_.LoadPicture(); }

  private:
    struct Borders {
        bool top, bottom, left, right;
    };

    CBkImageSkin list_;
    COLORREF crBg_ = static_cast<COLORREF>(-1);
    int left_ = 0;
    int top_ = 0;
    Borders borders_ = {true, true, true, true};
};

}  // namespace velora
