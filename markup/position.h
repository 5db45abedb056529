#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

namespace velora {

// How a control is placed inside its parent: the parsed `pos`, `width`,
// `height` and `float` attributes, and the arithmetic that turns them into a
// rectangle. Nothing here needs a control tree; the control owns one
// ControlPosition and its container drives the arithmetic.

// Layout flag bits. At most one width mode and one height mode is set.
inline constexpr std::uint32_t kWidthFixed = 0x01;
inline constexpr std::uint32_t kWidthContent = 0x02;
inline constexpr std::uint32_t kWidthFull = 0x04;
inline constexpr std::uint32_t kHeightFixed = 0x10;
inline constexpr std::uint32_t kHeightContent = 0x20;
inline constexpr std::uint32_t kHeightFull = 0x40;
inline constexpr std::uint32_t kFlowing = 0x100;   // `float` read and 0
inline constexpr std::uint32_t kFloating = 0x200;  // `float` read and not 0

inline constexpr std::uint32_t kWidthModeMask = kWidthFixed | kWidthContent | kWidthFull;
inline constexpr std::uint32_t kHeightModeMask = kHeightFixed | kHeightContent | kHeightFull;

// One edge of a position list.
struct PositionItem {
    bool centre = false;   // measured from the middle of the parent's span
    bool farEdge = false;  // measured back from the far edge, or subtracted from the middle
    std::int32_t offset = 0;
};

// Items are left, top, right, bottom. Only 0, 2 or 4 is ever stored as the
// count; with 0 the items may still hold what a 1- or 3-item list wrote, and
// they still give the anchor point.
struct PositionList {
    int count = 0;
    PositionItem items[4];
};

struct ControlPosition {
    PositionList list;
    // The owner clears this at the start of every load of its element.
    std::uint32_t flags = 0;
    std::int32_t fixedWidth = 0;
    std::int32_t fixedHeight = 0;
};

// Answers "how big do you want to be" for the given available size. Wherever
// one is taken, an empty function answers 0 x 0.
using SizeQuestion = std::function<SIZE(std::int32_t availableWidth, std::int32_t availableHeight)>;

// `pos`: up to four comma-separated items, each an optional "|", an optional
// "-", then a decimal integer. Null or empty text changes nothing. A list
// that does not end with 2 or 4 items gets count 0 and leaves the flags alone.
void ParsePos(const char* text, ControlPosition& position);

// `width` / `height` (null = absent): exactly "full" stretches, a positive
// number is fixed, anything else is content-sized. Sets `rect.right` (or
// `rect.bottom`) to the fixed size, else 0.
void ReadWidth(const char* text, ControlPosition& position, RECT& rect);
void ReadHeight(const char* text, ControlPosition& position, RECT& rect);
// `float` (null = absent reads as 0).
void ReadFloat(const char* text, ControlPosition& position);

// The whole size-attribute step of an element load, run after the attribute
// pass: when `pos` gave no usable list, reads width, height and float and
// sizes the content-sized axes from `ask(0, 0)`. Left and top are untouched.
void LoadSizeAttributes(const char* width, const char* height, const char* floatText,
                        ControlPosition& position, RECT& rect, const SizeQuestion& ask);

// After the control's text changed: re-measures content-sized axes with
// `ask(0, 0)` unless the list has four items, keeping left and top.
void RemeasureAfterTextChange(const ControlPosition& position, RECT& rect, const SizeQuestion& ask);

// One item against the span start..end; the half length truncates toward
// zero. Saturates to the 32-bit range.
std::int32_t ResolveItem(const PositionItem& item, std::int32_t start, std::int32_t end);

// The size a four-item list defines inside an available size (its answer to
// the size question). Only meaningful when list.count == 4.
SIZE FourItemSize(const PositionList& list, std::int32_t availableWidth,
                  std::int32_t availableHeight);

// What a container sends a child: the anchor point and the available size.
struct ChildPlacement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t availableWidth = 0;
    std::int32_t availableHeight = 0;
};

// The container's half: anchors items 1 and 2 inside `childArea` (the
// container's rectangle already shrunk by its margins).
ChildPlacement PlaceInArea(const RECT& childArea, const PositionList& list);

// The child's half: its rectangle from the placement and its answer to the
// size question, then "full" and fixed axes override the answer.
RECT TakePlacement(const ChildPlacement& placement, SIZE answer, const ControlPosition& position);

// Both halves, asking `ask` with the available size in between.
RECT AnchorChild(const RECT& childArea, const ControlPosition& position, const SizeQuestion& ask);

}  // namespace velora
