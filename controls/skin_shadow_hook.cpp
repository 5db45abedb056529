#include "controls/skin_shadow_hook.h"

#include "markup/position.h"

namespace velora {

SkinShadowHook::SkinShadowHook(const std::string& skin, int margin) {
    const std::string side = std::to_string(margin);
    picture_.SetAttribute("pos", "0,0,-0,-0", false);
    for (const char* name : {"margin_left", "margin_right", "margin_top", "margin_bottom"}) {
        picture_.SetAttribute(name, side, false);
    }
    picture_.SetAttribute("skin", skin, false);
}

int SkinShadowHook::PaintShadow(HDC dc, const RECT& rect) {
    // Placed the way a container places a child over its whole area.
    const ChildPlacement where = PlaceInArea(rect, picture_.Position().list);
    WINDOWPOS placement = {};
    placement.x = where.x;
    placement.y = where.y;
    placement.cx = where.availableWidth;
    placement.cy = where.availableHeight;
    picture_.Place(placement);
    picture_.Paint(dc);
    return 0;
}

}  // namespace velora
