#pragma once

#include <windows.h>

namespace velora {

enum class GradientDirection { kHorizontal, kVertical };

// Fills `rect` with a two-colour gradient through msimg32's GradientFill,
// looked up for each call. False (nothing drawn) when the library or the
// function is missing; callers have painted a solid fill beforehand.
bool FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to,
                  GradientDirection direction);

// Fills `rect` with one colour, leaving the DC's background colour as it was.
void FillSolid(HDC dc, const RECT& rect, COLORREF color);

}  // namespace velora
