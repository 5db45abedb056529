#pragma once

#include <cstdint>
#include <string>

#include "ui/bk_window.h"

namespace velora {

// "progress": a value between `min` and `max` shown as a filled part (skins,
// or outlined rounded rectangles), optionally with its percentage, or a
// sliding marquee block in indeterminate mode.
class CBkProgress : public CBkWindow {
  public:
    static constexpr char kTag[] = "progress";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& BackgroundSkin() const { return bgSkin_; }
    std::uint32_t Min() const { return min_; }
    std::uint32_t Max() const { return max_; }
    std::uint32_t Value() const { return value_; }

    // The filled share of the range, 0 for an empty range. Puts `min` and
    // `max` in order and clamps `value` into them, storing both changes.
    double Fraction();
    // Whole percent of the range, truncated; worked out in integers so that
    // e.g. 29 of 100 reads 29, not the 28.999... a double gives.
    int Percent();
    // The text shown for `percent`.
    virtual std::wstring PercentText(int percent) const;
    // Whole percent of `value` in the range, as Percent() reads it, without
    // storing anything.
    static int PercentOf(std::uint32_t min, std::uint32_t max, std::uint32_t value);
    DWORD AccessibleRole() const override;
    // The percentage ("37%").
    std::wstring AccessibleValue() const override;
    // The marquee block after the last indeterminate paint.
    const RECT& MarqueeBlock() const { return marquee_; }

    // Fixed look of the plain bar.
    static constexpr COLORREF kOutlineColor = 0x707070;
    static constexpr COLORREF kFillColor = 0x906142;
    static constexpr int kPlainInset = 2;
    static constexpr int kMarqueeStep = 10;
    static constexpr int kMarqueeGrowth = 30;

  protected:
    // The text size; a background skin gives the height.
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

    // How far the fill skin stays off each side of a bar `width` wide.
    virtual LONG FillSkinInset(LONG width) const;
    // Where the plain fill may go (before it is cut to the fraction).
    virtual RECT PlainFillArea(const RECT& control) const;

  private:
    // One marquee step, drawn; returns the area the light text goes in.
    RECT PaintMarqueeStep(HDC dc);
    void RestartMarquee(const RECT& control);

  protected:
    std::string bgSkin_;
    std::string posSkin_;
    int skinPosX_ = 2;
    // Unsigned: painting compares, swaps and clamps them as 32-bit unsigned.
    std::uint32_t min_ = 0;
    std::uint32_t max_ = 0;
    std::uint32_t value_ = 0;
    int showPercent_ = 0;
    int progressBar_ = 0;
    // Marquee block, kept between paints.
    RECT marquee_ = {};
    int marqueeStartX_ = 0;
    bool marqueeFirstPaint_ = true;
};

// "progressex": the progress bar with a suffix after the percentage and a
// fixed horizontal inset for the fill.
class CBkProgressEx : public CBkProgress {
  public:
    static constexpr char kTag[] = "progressex";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    std::wstring PercentText(int percent) const override;

  protected:
    LONG FillSkinInset(LONG width) const override;
    RECT PlainFillArea(const RECT& control) const override;

  private:
    std::wstring extendText_;
    int posImgLeft_ = 2;
};

}  // namespace velora
