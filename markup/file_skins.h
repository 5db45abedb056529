#pragma once

#include <string>

#include "markup/dib32.h"
#include "markup/picture_layout.h"
#include "markup/skin_base.h"

namespace velora {

// File skins ("skinpng", "skinjpg"): a prepared picture looked up in
// BkSkinPool by `src`, drawn with the PNG skin's frame and margin scheme and
// the constant alpha `alpha`. The installer fills that cache with nothing,
// so these skins draw nothing there. `file`, `extern_alpha_key` and `flip`
// are kept for a producer of such pictures.
class CBkNormalSkin : public CBkSkinBase {
  public:
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    void Draw(HDC dc, const RECT& rect, int state) override;
    void DrawPartAlpha(HDC dc, const RECT& destination, const RECT& source, int alpha) override;
    void DrawPartScaled(HDC dc, const RECT& destination, const RECT& source) override;
    void DrawTiled(HDC dc, const RECT& rect) override;
    void DrawGray(HDC dc, const RECT& destination, const RECT& source) override;
    // Draws nothing: the prepared picture is no GDI+ image.
    void DrawPartDirect(gdip::GpGraphics* graphics, const RECT& destination, const RECT& source);

    SIZE GetSkinSize() override;
    bool IgnoreState() override { return layout_.subWidth == 0; }
    // Looks the picture up each time until it is found.
    bool LoadPicture() override;

  private:
    // `alpha` when it is 1-255; opaque when it is unset (0) or out of range.
    BYTE ConstantAlpha() const;

    UINT src_ = 0;
    std::string file_;
    std::string externAlphaKey_;
    int alpha_ = 0;
    bool flip_ = false;
    PictureLayout layout_;
    const Dib32* picture_ = nullptr;  // owned by BkSkinPool
    bool loaded_ = false;
    Dib32 grey_;
};

class CBkNormalPngSkin : public CBkNormalSkin {
  public:
    static constexpr char kTag[] = "skinpng";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
};

class CBkNormalJPGSkin : public CBkNormalSkin {
  public:
    static constexpr char kTag[] = "skinjpg";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
};

}  // namespace velora
