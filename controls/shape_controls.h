#pragma once

#include <cstdint>
#include <string>

#include "markup/style_pool.h"
#include "ui/bk_window.h"

namespace velora {

// "rundrect": a rounded rectangle filled with GDI+ in the background colour
// (`crbg`, else the style's) at the style's "alphabg"; corners are ellipses
// of `rndwidht` x `rndheight`, square when either is 0. The plain
// rectangular background fill is left out: it would hide the corners.
class CBkRoundRect : public CBkWindow {
  public:
    static constexpr char kTag[] = "rundrect";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    // Corner ellipse size.
    int CornerWidth() const { return cornerWidth_; }
    int CornerHeight() const { return cornerHeight_; }
    void DrawBackground(HDC dc) override;

  protected:
    void PaintContent(HDC dc) override;
    // The fill colour as GDI+ ARGB; false when no colour is set.
    bool FillColor(std::uint32_t& argb) const;

  private:
    int cornerWidth_ = 0;
    int cornerHeight_ = 0;
};

// "rundrectpath": the rounded rectangle anti-aliased, filled when `bdrawbg`
// is set and outlined one pixel wide in `crline` at `crlinealpha`.
class CBkRoundRectPath : public CBkRoundRect {
  public:
    static constexpr char kTag[] = "rundrectpath";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    // kNoColor: no outline.
    COLORREF LineColor() const { return lineColor_; }

  protected:
    void PaintContent(HDC dc) override;

  private:
    int drawBackground_ = 0;
    COLORREF lineColor_ = kNoColor;
    int lineAlpha_ = 255;
};

// "shadowtext": text with a drop shadow chosen by the hover state: the text
// again, `hovershadow` (hovered) or `normalshadow` pixels right and down, in
// `crshaow` at `crshadowalpha`, under the text itself; no shadow for 0.
class CBKShadowText : public CBkWindow {
  public:
    static constexpr char kTag[] = "shadowtext";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    int NormalShadow() const { return normalShadow_; }
    int ShadowAlpha() const { return shadowAlpha_; }
    // The shadow offset for the current state.
    int ShadowOffset() const;
    bool RedrawOnStateChange() override { return hoverShadow_ != normalShadow_; }

  protected:
    void PaintContent(HDC dc) override;

  private:
    int normalShadow_ = 0;
    int hoverShadow_ = 0;
    COLORREF shadowColor_ = RGB(0, 0, 0);
    int shadowAlpha_ = 255;
};

// "slider": a horizontal slider. The background skin is stretched over the
// control with its `bg*margin` edges kept; the thumb skin (its cell size,
// by state index) sits `sliderpos` pixels from the left, centred
// vertically, kept inside the control. Pressing moves the thumb under the
// mouse and dragging follows it; each change of position is sent to the
// host window as a kNotifySliderPos record carrying the new position.
class BkSlider : public CBkWindow {
  public:
    static constexpr char kTag[] = "slider";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool TakesHeaderPress() const override { return true; }
    bool TakesHeaderDoubleClick() const override { return true; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    int SliderPosition() const { return sliderPos_; }
    const std::string& BackgroundSkin() const { return skinBg_; }
    const std::string& ThumbSkin() const { return skin_; }
    // The thumb's rectangle in the control; empty without a thumb skin.
    RECT ThumbRect() const;
    bool RedrawOnStateChange() override { return true; }
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

  protected:
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    // The largest position that keeps the thumb inside the control.
    int MaxPosition() const;
    // Puts the thumb's grab point at client x; notifies when it moved.
    void DragTo(int x);
    void NotifyPosition() const;

    bool dragging_ = false;
    int grabOffset_ = 0;
    int sliderPos_ = 0;
    std::string skinBg_;
    std::string skin_;
    RECT bgMargins_ = {};
};

}  // namespace velora
