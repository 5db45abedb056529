#pragma once

#include "markup/image_pools.h"
#include "markup/skin_base.h"

namespace velora {

// "jpg": a JPEG strip or picture drawn straight through GDI+. Draw reads a
// state index as the frame number as it is (no modulo); a frame outside the
// picture draws nothing. Without `subwidth` it draws a horizontal
// three-part bar with `margin_left` and `margin_right`.
class CBkJpgSkin : public CBkSkinBase {
  public:
    static constexpr char kTag[] = "jpg";

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    void Draw(HDC dc, const RECT& rect, int state) override;
    void DrawPartScaled(HDC dc, const RECT& destination, const RECT& source) override;
    void DrawGray(HDC dc, const RECT& destination, const RECT& source) override;

    SIZE GetSkinSize() override;
    bool IgnoreState() override { return subWidth_ == 0; }
    bool LoadPicture() override;

  private:
    gdip::GpImage* Picture() const;

    UINT src_ = 0;
    int subWidth_ = 0;
    int left_ = 0;
    int top_ = 0;
    int marginLeft_ = 0;
    int marginRight_ = 0;
    const BkImage* image_ = nullptr;  // owned by the JPEG pool
    bool loaded_ = false;
};

}  // namespace velora
