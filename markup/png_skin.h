#pragma once

#include "markup/dib32.h"
#include "markup/image_pools.h"
#include "markup/picture_layout.h"
#include "markup/skin_base.h"

namespace velora {

// "png": frames of a PNG strip (or one picture) with fixed margins, drawn
// with per-pixel alpha from a premultiplied copy made at the first Draw.
// Draw reads a state index; frames repeat modulo the frame count.
class CBkPngSkin : public CBkSkinBase {
  public:
    static constexpr char kTag[] = "png";

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    void Draw(HDC dc, const RECT& rect, int state) override;
    void DrawPart(gdip::GpGraphics* graphics, const RECT& destination, const RECT& source,
                  const gdip::GpImageAttributes* attributes) override;
    void DrawRotated(HDC dc, const POINT (&corners)[3], const RECT& source) override;
    void DrawPartAlpha(HDC dc, const RECT& destination, const RECT& source, int alpha) override;
    void DrawPartScaled(HDC dc, const RECT& destination, const RECT& source) override;
    void DrawTiled(HDC dc, const RECT& rect) override;
    void DrawGray(HDC dc, const RECT& destination, const RECT& source) override;
    void DrawMirrored(HDC dc, const RECT& rect) override;
    // Draws picture part `source` into `destination` on `graphics`.
    void DrawPartDirect(gdip::GpGraphics* graphics, const RECT& destination, const RECT& source);

    SIZE GetSkinSize() override;
    bool IgnoreState() override { return layout_.subWidth == 0; }
    bool LoadPicture() override;

  private:
    // The picture, or null when not loaded or without content.
    gdip::GpImage* Picture() const;
    // The turn every drawing but DrawPart and DrawMirrored applies: a
    // left-right mirror when `flip` is set.
    int FlipTurn() const;

    UINT src_ = 0;
    PictureLayout layout_;
    bool flip_ = false;
    int flipType_ = 0;
    const BkImage* image_ = nullptr;  // owned by the PNG pool
    bool loaded_ = false;
    Dib32 prepared_;  // premultiplied picture, made once
    Dib32 grey_;      // grey copy for DrawGray, made once
};

}  // namespace velora
