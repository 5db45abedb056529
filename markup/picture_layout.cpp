#include "markup/picture_layout.h"

#include <algorithm>
#include <climits>

#include "markup/attribute_reader.h"

namespace velora {
namespace {

using I64 = std::int64_t;

bool FitsInt(I64 value) {
    return value >= INT_MIN && value <= INT_MAX;
}

// Frame strip: corners, edges and centre of frame `frame` (steps as the
// margins allow), stretched from the frame when the rectangle is larger.
void LayOutStrip(const PictureLayout& l, I64 imageHeight, I64 fx, const RECT& r,
                 const PartSink& sink) {
    const I64 x0 = r.left, y0 = r.top, x1 = r.right, y1 = r.bottom;
    const I64 w = x1 - x0, h = y1 - y0;
    const I64 sw = l.subWidth, ih = imageHeight;
    const I64 L = l.marginLeft, R = l.marginRight, T = l.marginTop, B = l.marginBottom;
    if (L == 0 && R == 0 && T == 0 && B == 0) {
        sink({x0, y0, sw, ih, fx, 0, sw, ih});  // the frame at its natural size
    }
    if (L && T) {
        sink({x0, y0, L, T, fx, 0, L, T});
    }
    if (R && T) {
        sink({x1 - R, y0, R, T, fx + sw - R, 0, R, T});
    }
    if (L && B) {
        sink({x0, y1 - B, L, B, fx, ih - B, L, B});
    }
    if (R && B) {
        sink({x1 - R, y1 - B, R, B, fx + sw - R, ih - B, R, B});
    }
    const I64 hs = std::min(ih, h), ws = std::min(sw, w);
    if (L) {
        sink({x0, y0 + T, L, h - B - T, fx, T, L, hs - B - T});
    }
    if (R) {
        sink({x1 - R, y0 + T, R, h - B - T, fx + sw - R, T, R, hs - B - T});
    }
    if (T) {
        sink({x0 + L, y0, w - R - L, T, fx + L, 0, ws - R - L, T});
    }
    if (B) {
        sink({x0 + L, y1 - B, w - L - R, B, fx + L, ih - B, ws - L - R, B});
    }
    sink({x0 + L, y0 + T, w - R - L, h - B - T, fx + L, T, ws - R - L, hs - B - T});
}

void LayOutTiles(const PictureLayout& l, I64 imageWidth, const RECT& r, const RECT& visible,
                 const PartSink& sink) {
    const I64 L = l.marginLeft, R = l.marginRight;
    const I64 h = static_cast<I64>(r.bottom) - r.top;
    const I64 space = static_cast<I64>(r.right) - r.left - L - R;
    const I64 tile = imageWidth - L - R;
    const I64 start = r.left + L;
    const I64 end = start + space;
    // Whole tiles first, then the remainder; skip those left of the visible area.
    const I64 wholeTiles = space / tile;
    I64 first = 0;
    if (visible.left > start) {
        first = std::min(wholeTiles, (visible.left - start) / tile);
    }
    for (I64 i = first; i < wholeTiles; ++i) {
        const I64 x = start + i * tile;
        if (x >= visible.right) {
            return;
        }
        sink({x, r.top, tile, h, l.left + L, l.top, tile, h});
    }
    const I64 x = start + wholeTiles * tile;
    if (end > x && x < visible.right) {
        sink({x, r.top, end - x, h, l.left + L, l.top, end - x, h});
    }
}

// Single picture: a horizontal or vertical three-part bar (or one stretch).
void LayOutSingle(const PictureLayout& l, I64 iw, I64 ih, const RECT& r, const RECT& visible,
                  const PartSink& sink) {
    const I64 x0 = r.left, y0 = r.top, x1 = r.right, y1 = r.bottom;
    const I64 w = x1 - x0, h = y1 - y0;
    const I64 sx = l.left, sy = l.top;
    const I64 L = l.marginLeft, R = l.marginRight, T = l.marginTop, B = l.marginBottom;
    const I64 hm = std::min(h, ih), wm = std::min(iw, w);
    if (L) {
        sink({x0, y0, L, hm, sx, sy, L, h});
    } else if (T) {
        sink({x0, y0, w, T, sx, sy, w, T});
    }
    if (T || B) {
        sink({x0 + L, y0 + T, w - R - L, h - B - T, sx + L, sy + T, wm - R - L,
              std::min(ih, h) - B - T});
    } else if (l.middleTile && w - L - R > 0 && iw - L - R > 0) {
        LayOutTiles(l, iw, r, visible, sink);
    } else {
        sink({x0 + L, y0, w - R - L, hm, sx + L, sy, wm - R - L, h});
    }
    if (R) {
        sink({x1 - R, y0, R, hm, iw - R, sy, R, h});
    } else if (B) {
        sink({x0, y1 - B, w, B, sx, ih - B, w, B});
    }
}

}  // namespace

bool PictureLayout::SetAttribute(const std::string& name, const std::string& value) {
    const AttributeReader r(name, value);
    return r.Int("subwidth", subWidth) || r.Int("left", left) || r.Int("top", top) ||
           r.Int("margin_left", marginLeft) || r.Int("margin_right", marginRight) ||
           r.Int("margin_top", marginTop) || r.Int("margin_bottom", marginBottom) ||
           r.Flag("middle_tile", middleTile);
}

void LayOutPicture(const PictureLayout& layout, int width, int height, const RECT& rect, int state,
                   const RECT& visible, const PartSink& sink) {
    if (layout.subWidth == 0) {
        LayOutSingle(layout, width, height, rect, visible, sink);
        return;
    }
    const I64 frames = static_cast<I64>(width) / layout.subWidth;
    I64 frame = state;
    if (frames > 0) {
        frame = static_cast<I64>(static_cast<std::uint32_t>(state) % frames);
    }
    LayOutStrip(layout, height, frame * layout.subWidth, rect, sink);
}

bool ToRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, RECT& rect) {
    if (!FitsInt(x) || !FitsInt(y) || !FitsInt(x + width) || !FitsInt(y + height)) {
        return false;
    }
    rect = {static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + width),
            static_cast<LONG>(y + height)};
    return true;
}

bool ClipToPicture(const PartCopy& copy, int width, int height, RECT& destination, RECT& source) {
    if (copy.sx < 0 || copy.sy < 0 || copy.dw <= 0 || copy.dh <= 0) {
        return false;
    }
    const I64 sw = std::min(copy.sw, std::max<I64>(0, width - copy.sx));
    const I64 sh = std::min(copy.sh, std::max<I64>(0, height - copy.sy));
    if (sw <= 0 || sh <= 0) {
        return false;
    }
    return ToRect(copy.dx, copy.dy, copy.dw, copy.dh, destination) &&
           ToRect(copy.sx, copy.sy, sw, sh, source);
}

}  // namespace velora
