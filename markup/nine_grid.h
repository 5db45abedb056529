#pragma once

#include <windows.h>

#include "markup/skin_base.h"

namespace velora {

// Whether the middle piece of a nine-grid is drawn or left empty (a drop
// shadow keeps its middle clear: the window covers it).
enum class NineGridMiddle { kDraw, kSkip };

// Draws part `source` of `skin` over `destination` in nine pieces: the
// corners at their size, the edges stretched along their side and the middle
// stretched both ways. `margins` (left, top, right, bottom) cut the source;
// margins that do not fit the source or the destination shrink in
// proportion, so opposite corners never overlap. Each piece goes through the
// skin's DrawPartAlpha at full opacity, which keeps per-pixel alpha on a
// 32-bit target.
void DrawNineGrid(HDC dc, CBkSkinBase& skin, const RECT& destination, const RECT& source,
                  const RECT& margins, NineGridMiddle middle);

}  // namespace velora
