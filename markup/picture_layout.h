#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace velora {

// How a picture skin cuts its picture: a strip of `subWidth`-wide frames
// drawn with fixed margins, or (subWidth 0) one picture drawn as a
// three-part bar, horizontal when a side margin is set, vertical when a top
// or bottom margin is set.
struct PictureLayout {
    int subWidth = 0;
    int left = 0;  // source origin of a single picture
    int top = 0;
    int marginLeft = 0;
    int marginRight = 0;
    int marginTop = 0;
    int marginBottom = 0;
    bool middleTile = false;  // tile the middle of a single horizontal bar

    // Takes one of the attributes above ("subwidth", "left", "top",
    // "margin_left", ..., "middle_tile"); false for any other name.
    bool SetAttribute(const std::string& name, const std::string& value);
};

// One copy from the picture to the target: destination and source as
// (x, y, width, height). Wide integers, so that extreme margins cannot wrap.
struct PartCopy {
    std::int64_t dx, dy, dw, dh;
    std::int64_t sx, sy, sw, sh;
};

using PartSink = std::function<void(const PartCopy&)>;

// The copies that paint a picture of `width` x `height` into `rect` for
// `state`: frame state modulo the frame count (the state read as unsigned)
// of a strip, or the single picture. Middle tiles wholly outside `visible`
// are not produced, which bounds their number by the visible width.
void LayOutPicture(const PictureLayout& layout, int width, int height, const RECT& rect, int state,
                   const RECT& visible, const PartSink& sink);

// The source cut to what the picture holds right of and below its origin,
// as rectangles. False when nothing is left to copy (an empty or negative
// size on either side, or an origin outside the picture).
bool ClipToPicture(const PartCopy& copy, int width, int height, RECT& destination, RECT& source);

// (x, y, width, height) as a rectangle; false when a side does not fit.
bool ToRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, RECT& rect);

}  // namespace velora
