#pragma once

#include <windows.h>

#include <string>

#include "markup/skin_pool.h"

namespace velora {

// The skin a control attribute names, or null for an empty or unknown name
// (the layer is then not drawn).
inline CBkSkinBase* SkinByName(const std::string& name) {
    return name.empty() ? nullptr : BkSkinObjectPool::Instance().GetSkin(name);
}

inline LONG RectWidth(const RECT& rect) {
    return rect.right - rect.left;
}

inline LONG RectHeight(const RECT& rect) {
    return rect.bottom - rect.top;
}

}  // namespace velora
