#pragma once

#include <windows.h>

#include "ui/control_state.h"

#include <cstdint>
#include <memory>

#include "controls/rich_text_graphics.h"
#include "markup/gdiplus_runtime.h"

namespace velora {

// Draws and measures a run with GDI+ (anti-aliased, with the style's text
// and background alpha). The DC itself is left as it is.
class CRichTextGdiPlusGraphics : public IRichTextGraphics {
  public:
    // Null when GDI+ or any of its objects is unavailable.
    static std::unique_ptr<CRichTextGdiPlusGraphics> Create(HDC dc, const BkStyle& style,
                                                            ControlState state,
                                                            const RichTextLook& look);

    void DrawString(const wchar_t* text, int length, const RichRect& rect) override;
    // GdipMeasureString in a 10000 x 10000 area, near alignment.
    RichTextExtent MeasureString(const wchar_t* text, int length) override;
    // Only in the plain state with a background colour.
    void FillBackground(const RichRect& rect) override;
    HDC Dc() const override { return dc_; }
    bool WholePixels() const override { return false; }
    UINT TextMode() const override { return textMode_; }

  private:
    CRichTextGdiPlusGraphics(HDC dc, UINT textMode) : dc_(dc), textMode_(textMode) {}

    HDC dc_;
    UINT textMode_;
    gdip::ScopedGraphics graphics_;
    gdip::ScopedFont font_;
    gdip::ScopedBrush textBrush_;
    gdip::ScopedBrush backgroundBrush_;
    gdip::ScopedStringFormat drawFormat_;
    gdip::ScopedStringFormat measureFormat_;
};

}  // namespace velora
