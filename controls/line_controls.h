#pragma once

#include <string>

#include "ui/bk_window.h"

namespace velora {

// Pen styles of `style`, in the order of their names.
enum class BkLineStyle : int { kSolid = 0, kDash = 1, kDot = 2, kDashDot = 3, kDashDotDot = 4 };

// "hr": a GDI line from the control's top-left to its bottom-right corner in
// its `crbg` (else the style's), `size` pixels wide.
class CBkLine : public CBkWindow {
  public:
    static constexpr char kTag[] = "hr";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    // A `style` outside the five names is refused and the old one kept.
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    int PenWidth() const { return size_; }
    BkLineStyle LineStyle() const { return style_; }
    // The control's `crbg`, else the style's; black when neither is set.
    COLORREF LineColor() const;
    // `crbg` is the line's colour, not a fill under it.
    void DrawBackground(HDC dc) override;

  protected:
    void PaintContent(HDC dc) override;

  private:
    int size_ = 1;
    BkLineStyle style_ = BkLineStyle::kSolid;
};

// "hrex": the same line drawn with GDI+ in the dash style of `style`, with
// the style's "alphabg" as the colour's alpha.
class CBkLineEx : public CBkLine {
  public:
    static constexpr char kTag[] = "hrex";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }

  protected:
    void PaintContent(HDC dc) override;
};

}  // namespace velora
