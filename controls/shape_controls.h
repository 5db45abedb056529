#pragma once

#include <string>

#include "markup/style_pool.h"
#include "ui/bk_window.h"

namespace velora {

// "rundrect": a rounded rectangle filled in the background colour.
class CBkRoundRect : public CBkWindow {
  public:
    static constexpr char kTag[] = "rundrect";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    // Corner ellipse size.
    int CornerWidth() const { return cornerWidth_; }
    int CornerHeight() const { return cornerHeight_; }

  private:
    int cornerWidth_ = 0;
    int cornerHeight_ = 0;
};

// "rundrectpath": the rounded rectangle anti-aliased, filled when `bdrawbg`
// is set and outlined in `crline`.
class CBkRoundRectPath : public CBkRoundRect {
  public:
    static constexpr char kTag[] = "rundrectpath";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    bool DrawsBackground() const { return drawBackground_ != 0; }
    // kNoColor: no outline.
    COLORREF LineColor() const { return lineColor_; }
    int LineAlpha() const { return lineAlpha_; }

  private:
    int drawBackground_ = 0;
    COLORREF lineColor_ = kNoColor;
    int lineAlpha_ = 255;
};

// "shadowtext": text with a drop shadow chosen by the hover state.
class CBKShadowText : public CBkWindow {
  public:
    static constexpr char kTag[] = "shadowtext";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    int NormalShadow() const { return normalShadow_; }
    int HoverShadow() const { return hoverShadow_; }
    COLORREF ShadowColor() const { return shadowColor_; }
    int ShadowAlpha() const { return shadowAlpha_; }

  private:
    int normalShadow_ = 0;
    int hoverShadow_ = 0;
    COLORREF shadowColor_ = RGB(0, 0, 0);
    int shadowAlpha_ = 255;
};

// "slider": a background skin inside margins and a thumb skin at `sliderpos`.
class BkSlider : public CBkWindow {
  public:
    static constexpr char kTag[] = "slider";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    int SliderPosition() const { return sliderPos_; }
    const std::string& BackgroundSkin() const { return skinBg_; }
    const std::string& ThumbSkin() const { return skin_; }
    // Background margins in `left` .. `bottom`.
    const RECT& BackgroundMargins() const { return bgMargins_; }

  private:
    int sliderPos_ = 0;
    std::string skinBg_;
    std::string skin_;
    RECT bgMargins_ = {};
};

}  // namespace velora
