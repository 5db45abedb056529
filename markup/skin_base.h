#pragma once

#include <windows.h>

#include "markup/bk_object.h"
#include "markup/gdiplus_runtime.h"

namespace velora {

// Skin state for "the whole picture, no frame".
inline constexpr int kSkinWholePicture = -1;

// A named drawing recipe from the skin table: paints a picture or a face
// into a rectangle for a state. Depending on the kind, the state is a state
// index (0 normal, 1 hover, 2 pushed, 3 disabled, -1 whole picture) or the
// control's state bits. Skins know nothing about the controls using them.
// Every operation of this base draws nothing.
class CBkSkinBase : public CBkObject {
  public:
    // --- Painting -------------------------------------------------------
    // Paints over `rect` for `state`.
    virtual void Draw(HDC dc, const RECT& rect, int state);
    // Draws picture part `source` into `destination` on a GDI+ graphics, in
    // floating point, with optional image attributes.
    virtual void DrawPart(gdip::GpGraphics* graphics, const RECT& destination, const RECT& source,
                          const gdip::GpImageAttributes* attributes);
    // Draws picture part `source` into the parallelogram whose upper-left,
    // upper-right and lower-left corners are `corners`.
    virtual void DrawRotated(HDC dc, const POINT (&corners)[3], const RECT& source);
    // Draws picture part `source` into `destination` with a constant alpha (0-255).
    virtual void DrawPartAlpha(HDC dc, const RECT& destination, const RECT& source, int alpha);
    // Draws picture part `source` scaled into `destination`.
    virtual void DrawPartScaled(HDC dc, const RECT& destination, const RECT& source);
    // Repeats the whole picture at natural size where it fits whole in `rect`.
    virtual void DrawTiled(HDC dc, const RECT& rect);
    // Draws picture part `source` into `destination` in grey.
    virtual void DrawGray(HDC dc, const RECT& destination, const RECT& source);
    // Draws the whole picture mirrored left-right, stretched over `rect`.
    virtual void DrawMirrored(HDC dc, const RECT& rect);

    // --- Picture --------------------------------------------------------
    // The size of one picture cell; 0 x 0 without picture.
    virtual SIZE GetSkinSize();
    // True when the skin looks the same in every state.
    virtual bool IgnoreState();
    // Makes sure the picture is loaded; true once it is.
    virtual bool LoadPicture();
};

}  // namespace velora
