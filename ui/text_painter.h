#pragma once

#include <windows.h>

#include <string>

namespace velora {

class CBkWindow;

// Prepares a DC for a control's text (text rectangle, background mode and
// colour, font, text colour by state) and undoes exactly what it changed
// when it goes: font, text colour, background mode, background colour.
class ScopedTextDc {
  public:
    ScopedTextDc(HDC dc, const CBkWindow& control);
    ~ScopedTextDc();
    ScopedTextDc(const ScopedTextDc&) = delete;
    ScopedTextDc& operator=(const ScopedTextDc&) = delete;

    // The control rectangle less the style margins.
    RECT& TextRect() { return textRect_; }
    // The font selected for the text (null when none could be made).
    HFONT Font() const { return font_; }

  private:
    HDC dc_;
    RECT textRect_ = {};
    HFONT font_ = nullptr;
    bool modeChanged_ = false;
    int oldMode_ = 0;
    bool fontChanged_ = false;
    HGDIOBJ oldFont_ = nullptr;
    bool colorChanged_ = false;
    COLORREF oldColor_ = 0;
    bool bkColorChanged_ = false;
    COLORREF oldBkColor_ = 0;
};

// The two faces whose glyphs sit too low in their cell.
bool IsYaHeiFace(const std::wstring& face);

// Moves a text rectangle up to compensate for the YaHei cell. `step` is how
// many pixels the font is larger than the base font, `baseHeight` the base
// font's lfHeight. Returns `rect` unchanged for other faces.
RECT CorrectTextRect(RECT rect, UINT format, const std::wstring& face, int step, int baseHeight,
                     bool autoFix);
// The same move for callers with a fixed format (image button captions).
RECT CorrectFixedFormatRect(RECT rect, UINT format, const std::wstring& face, int step,
                            int baseHeight);

// DrawShadowText from comctl32 (System32 only), shadow offset 2, 2; plain
// DrawTextW when the library or function is missing or the call fails.
// `library` is a parameter so the fallback can be exercised.
void DrawTextWithShadow(HDC dc, const std::wstring& text, RECT rect, UINT format,
                        COLORREF textColor, COLORREF shadow,
                        const wchar_t* library = L"comctl32.dll");

// The corrected fixed-format text: YaHei move against the font selected in
// `dc` and the font pool's base, then shadow or plain drawing.
void DrawFixedFormatText(HDC dc, const std::wstring& text, const RECT& rect, UINT format,
                         bool shadow, COLORREF textColor, COLORREF shadowColor);

// GDI+ string format settings from a DrawText format and "textmodeex".
struct GdiplusTextFormat {
    int align = 0;      // StringAlignment
    int lineAlign = 0;  // StringAlignment
    int flags = 0;      // StringFormatFlags
    int trimming = -1;  // StringTrimming; -1 leaves GDI+'s default
};
GdiplusTextFormat MakeGdiplusTextFormat(UINT drawFormat, UINT textModeEx);

// Alpha for GDI+ text: the control's value unless -1, else the style's;
// 255 becomes 254 and anything outside 0-254 is clamped.
BYTE GdiplusTextAlpha(int ownAlpha, int styleAlpha);

// Draws `text` with GDI+ into `rect` in the DC's current text colour and
// the selected font. Draws nothing when GDI+ is unavailable.
void DrawGdiplusText(HDC dc, const std::wstring& text, const RECT& rect,
                     const GdiplusTextFormat& format, BYTE alpha, int renderingHint);

// The whole text step of a control: DC preparation, draw format, YaHei
// correction, then GDI+, shadow or plain drawing.
void PaintControlText(HDC dc, CBkWindow& control);

// The natural size of a control's text within `available` (0 × 0: no
// bound), margins included.
SIZE MeasureControlText(const CBkWindow& control, SIZE available);

}  // namespace velora
