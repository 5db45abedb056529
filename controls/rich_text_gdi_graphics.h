#pragma once

#include <windows.h>

#include "base/gdi_scopes.h"
#include "controls/rich_text_graphics.h"

namespace velora {

// Draws and measures a run with GDI: the run's font is selected and its text
// colour set on the DC for the object's lifetime.
class CRichTextGdiGraphics : public IRichTextGraphics {
  public:
    CRichTextGdiGraphics(HDC dc, UINT textMode, const RichTextLook& look);
    ~CRichTextGdiGraphics() override;
    CRichTextGdiGraphics(const CRichTextGdiGraphics&) = delete;
    CRichTextGdiGraphics& operator=(const CRichTextGdiGraphics&) = delete;

    // DrawTextW with the style's text mode on the rectangle cut to whole pixels.
    void DrawString(const wchar_t* text, int length, const RichRect& rect) override;
    // GetTextExtentPoint32W.
    RichTextExtent MeasureString(const wchar_t* text, int length) override;
    void FillBackground(const RichRect& rect) override;
    HDC Dc() const override { return dc_; }
    bool WholePixels() const override { return true; }
    UINT TextMode() const override { return textMode_; }

  private:
    HDC dc_;
    UINT textMode_;
    COLORREF background_;
    ScopedSelectObject font_;
    COLORREF oldColor_;
};

}  // namespace velora
