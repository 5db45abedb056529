#include "controls/skin_cells.h"

#include <climits>

#include "markup/skin_pool.h"
#include "ui/bk_window.h"

namespace velora {

CBkSkinBase* FindSkin(const std::string& name) {
    return name.empty() ? nullptr : BkSkinObjectPool::Instance().GetSkin(name);
}

SIZE ReplaceWithSkinSize(SIZE measured, CBkSkinBase* skin) {
    if (skin == nullptr) {
        return measured;
    }
    const SIZE cell = skin->GetSkinSize();
    if (cell.cx != 0) {
        measured.cx = cell.cx;
    }
    if (cell.cy != 0) {
        measured.cy = cell.cy;
    }
    return measured;
}

SIZE SkinNaturalSize(const CBkWindow& control, SIZE measured, CBkSkinBase* skin) {
    if (control.Position().list.count == 4) {
        return measured;
    }
    return ReplaceWithSkinSize(measured, skin);
}

bool CellSource(SIZE cell, int sub, RECT& source) {
    if (cell.cx <= 0 || cell.cy <= 0) {
        return false;
    }
    const long long left = static_cast<long long>(cell.cx) * sub;
    const long long right = left + cell.cx;
    if (left < INT_MIN || right > INT_MAX) {
        return false;
    }
    source = {static_cast<LONG>(left), 0, static_cast<LONG>(right), cell.cy};
    return true;
}

int StateIndex(ControlState state) {
    if (Has(state, ControlState::kPushed)) {
        return 2;
    }
    return Has(state, ControlState::kHover) ? 1 : 0;
}

int StateIndexWithDisabled(ControlState state, bool disabled) {
    return disabled ? 3 : StateIndex(state);
}

int RectWidth(const RECT& rect) {
    return rect.right - rect.left;
}

int RectHeight(const RECT& rect) {
    return rect.bottom - rect.top;
}

}  // namespace velora
