#pragma once

#include <windows.h>

#include "ui/control_state.h"

#include <cstdint>
#include <memory>

namespace velora {

class BkStyle;

// A rectangle in the control's coordinates, kept in floats because GDI+
// measures in fractions of a pixel.
struct RichRect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;

    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    // Left and top edges inside, right and bottom edges outside.
    bool Contains(float x, float y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    bool Intersects(const RECT& other) const {
        return left < static_cast<float>(other.right) && right > static_cast<float>(other.left) &&
               top < static_cast<float>(other.bottom) && bottom > static_cast<float>(other.top);
    }
};

struct RichTextExtent {
    float width = 0;
    float height = 0;
};

// Where a measured string sits in `rect`: right = left + width; vertically
// at the bottom (DT_BOTTOM) or centred (DT_VCENTER) when the rectangle is
// taller than the string, otherwise from the top.
RichRect FitMeasuredString(const RichTextExtent& extent, const RichRect& rect, UINT textMode);

// One drawing back end for a text run, made for the run's style and state
// on a device context. Whatever it changes on the DC it puts back when it
// goes.
class IRichTextGraphics {
  public:
    virtual ~IRichTextGraphics() = default;

    virtual void DrawString(const wchar_t* text, int length, const RichRect& rect) = 0;
    virtual RichTextExtent MeasureString(const wchar_t* text, int length) = 0;
    // Measures and places the first `length` characters in `rect`.
    RichRect FitString(const wchar_t* text, int length, const RichRect& rect) {
        return FitMeasuredString(MeasureString(text, length), rect, TextMode());
    }
    // Fills `rect` with the state's background colour, when there is one.
    virtual void FillBackground(const RichRect& rect) = 0;
    virtual HDC Dc() const = 0;
    // GDI places text on whole pixels, so a run starts on one.
    virtual bool WholePixels() const = 0;
    virtual UINT TextMode() const = 0;
};

// The look of a run in one state: colour, font and background.
struct RichTextLook {
    COLORREF text = RGB(0, 0, 0);
    HFONT font = nullptr;
    COLORREF background = static_cast<COLORREF>(-1);  // -1: none
};
RichTextLook ChooseRichTextLook(const BkStyle& style, ControlState state);

// The back end a style asks for ("gdiplus"), on `dc`; null when it cannot
// be made.
std::unique_ptr<IRichTextGraphics> CreateRichTextGraphics(HDC dc, const BkStyle& style,
                                                          ControlState state);

}  // namespace velora
