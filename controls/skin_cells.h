#pragma once

#include <windows.h>

#include "ui/control_state.h"

#include <cstdint>
#include <string>

#include "markup/skin_base.h"

namespace velora {

class CBkWindow;

// Small rules the picture controls share.

// The named skin of the skin pool, or null for an empty or unknown name.
CBkSkinBase* FindSkin(const std::string& name);

// `measured` with the skin's cell width and height put in where they are
// non-zero; unchanged without a skin.
SIZE ReplaceWithSkinSize(SIZE measured, CBkSkinBase* skin);

// The natural size of a control that shows a skin: the size its position
// gives when that names both corners, else `measured` with the skin's cell
// size put in (ReplaceWithSkinSize).
SIZE SkinNaturalSize(const CBkWindow& control, SIZE measured, CBkSkinBase* skin);

// Cell `sub` of a strip of `cell`-sized cells counted from the left:
// (cell.cx * sub, 0) .. one cell further. False for an empty cell or an
// index whose columns would not fit a coordinate.
bool CellSource(SIZE cell, int sub, RECT& source);

// The state index of a skin drawn by state: 2 pushed, 1 hovered, else 0.
int StateIndex(ControlState state);
// The same with 3 for a disabled control.
int StateIndexWithDisabled(ControlState state, bool disabled);

int RectWidth(const RECT& rect);
int RectHeight(const RECT& rect);

}  // namespace velora
