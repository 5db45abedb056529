#include "markup/position.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "markup/value_parsers.h"

namespace velora {
namespace {

// Markup can hold any 32-bit offset; sums of two of them are done in 64 bits
// and pinned to the 32-bit range so extreme values cannot overflow.
std::int32_t Saturate(std::int64_t value) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, kMin, kMax));
}

std::int32_t Add(std::int64_t a, std::int64_t b) {
    return Saturate(a + b);
}

struct AxisBits {
    std::uint32_t fixed;
    std::uint32_t content;
    std::uint32_t full;
    std::uint32_t mask;
};

constexpr AxisBits kWidthBits = {kWidthFixed, kWidthContent, kWidthFull, kWidthModeMask};
constexpr AxisBits kHeightBits = {kHeightFixed, kHeightContent, kHeightFull, kHeightModeMask};

// `farSide` is the rectangle's right (or bottom): the fixed size, else 0.
void ReadAxis(const char* text, const AxisBits& bits, std::uint32_t& flags, std::int32_t& fixedSize,
              LONG& farSide) {
    const std::int32_t value = ParseDecimal(text);
    std::uint32_t mode = bits.content;
    farSide = 0;
    if (value == 0 && text != nullptr && std::strcmp(text, "full") == 0) {
        mode = bits.full;
    } else if (value > 0) {
        mode = bits.fixed;
        farSide = value;
        fixedSize = value;
    }
    flags = (flags & ~bits.mask) | mode;
}

bool AnyAxisFromContent(std::uint32_t flags) {
    return (flags & (kWidthContent | kHeightContent)) != 0;
}

SIZE Ask(const SizeQuestion& ask, std::int32_t width, std::int32_t height) {
    return ask ? ask(width, height) : SIZE{0, 0};
}

}  // namespace

void ParsePos(const char* text, ControlPosition& position) {
    if (text == nullptr || *text == '\0') {
        return;
    }
    PositionList& list = position.list;
    list.count = 0;
    const char* p = text;
    while (list.count < 4) {
        PositionItem& item = list.items[list.count];
        item.centre = *p == '|';
        if (item.centre) {
            ++p;
        }
        item.farEdge = *p == '-';
        if (item.farEdge) {
            ++p;
        }
        const char* end = p;
        item.offset = ParseDecimal(p, &end);
        ++list.count;
        // Whatever follows the digits up to the comma is ignored.
        const char* comma = std::strchr(end, ',');
        if (comma == nullptr) {
            break;
        }
        p = comma + 1;
    }
    if (list.count == 2 || list.count == 4) {
        position.flags &= ~(kWidthFixed | kWidthFull | kHeightFixed | kHeightFull);
        position.flags |= kWidthContent | kHeightContent;
    } else {
        list.count = 0;
    }
}

void ReadWidth(const char* text, ControlPosition& position, RECT& rect) {
    ReadAxis(text, kWidthBits, position.flags, position.fixedWidth, rect.right);
}

void ReadHeight(const char* text, ControlPosition& position, RECT& rect) {
    ReadAxis(text, kHeightBits, position.flags, position.fixedHeight, rect.bottom);
}

void ReadFloat(const char* text, ControlPosition& position) {
    const std::uint32_t bit = ParseDecimal(text) != 0 ? kFloating : kFlowing;
    position.flags = (position.flags & ~(kFloating | kFlowing)) | bit;
}

void LoadSizeAttributes(const char* width, const char* height, const char* floatText,
                        ControlPosition& position, RECT& rect, const SizeQuestion& ask) {
    if (position.list.count == 2 || position.list.count == 4) {
        return;
    }
    ReadWidth(width, position, rect);
    ReadHeight(height, position, rect);
    if (AnyAxisFromContent(position.flags)) {
        const SIZE natural = Ask(ask, 0, 0);
        if (position.flags & kWidthContent) {
            rect.right = natural.cx;
        }
        if (position.flags & kHeightContent) {
            rect.bottom = natural.cy;
        }
    }
    ReadFloat(floatText, position);
}

void RemeasureAfterTextChange(const ControlPosition& position, RECT& rect,
                              const SizeQuestion& ask) {
    if (!AnyAxisFromContent(position.flags) || position.list.count == 4) {
        return;
    }
    const SIZE natural = Ask(ask, 0, 0);
    if (position.flags & kWidthContent) {
        rect.right = Add(rect.left, natural.cx);
    }
    if (position.flags & kHeightContent) {
        rect.bottom = Add(rect.top, natural.cy);
    }
}

std::int32_t ResolveItem(const PositionItem& item, std::int32_t start, std::int32_t end) {
    const std::int64_t length = static_cast<std::int64_t>(end) - start;
    const std::int64_t offset = item.offset;
    if (item.centre) {
        // C++ division truncates toward zero, as the layouts expect.
        const std::int64_t middle = start + length / 2;
        return Saturate(item.farEdge ? middle - offset : middle + offset);
    }
    if (item.farEdge) {
        return Saturate(end - offset);
    }
    return Saturate(start + offset);
}

SIZE FourItemSize(const PositionList& list, std::int32_t availableWidth,
                  std::int32_t availableHeight) {
    const std::int64_t left = ResolveItem(list.items[0], 0, availableWidth);
    const std::int64_t top = ResolveItem(list.items[1], 0, availableHeight);
    const std::int64_t right = ResolveItem(list.items[2], 0, availableWidth);
    const std::int64_t bottom = ResolveItem(list.items[3], 0, availableHeight);
    return SIZE{Saturate(right - left), Saturate(bottom - top)};
}

ChildPlacement PlaceInArea(const RECT& childArea, const PositionList& list) {
    ChildPlacement placement;
    // Items 1 and 2 are used even when the count is 0: a 1- or 3-item list
    // still anchors with what it wrote, and an unwritten item is 0.
    placement.x = ResolveItem(list.items[0], childArea.left, childArea.right);
    placement.y = ResolveItem(list.items[1], childArea.top, childArea.bottom);
    placement.availableWidth =
        Saturate(static_cast<std::int64_t>(childArea.right) - childArea.left);
    placement.availableHeight =
        Saturate(static_cast<std::int64_t>(childArea.bottom) - childArea.top);
    return placement;
}

RECT TakePlacement(const ChildPlacement& placement, SIZE answer, const ControlPosition& position) {
    RECT rect;
    rect.left = placement.x;
    rect.top = placement.y;
    rect.right = Add(placement.x, answer.cx);
    rect.bottom = Add(placement.y, answer.cy);
    if (position.flags & kWidthFull) {
        rect.right = std::max<std::int32_t>(rect.left, Add(placement.x, placement.availableWidth));
    } else if (position.flags & kWidthFixed) {
        rect.right = Add(rect.left, position.fixedWidth);
    }
    if (position.flags & kHeightFull) {
        rect.bottom = std::max<std::int32_t>(rect.top, Add(placement.y, placement.availableHeight));
    } else if (position.flags & kHeightFixed) {
        rect.bottom = Add(rect.top, position.fixedHeight);
    }
    return rect;
}

RECT AnchorChild(const RECT& childArea, const ControlPosition& position, const SizeQuestion& ask) {
    const ChildPlacement placement = PlaceInArea(childArea, position.list);
    const SIZE answer = Ask(ask, placement.availableWidth, placement.availableHeight);
    return TakePlacement(placement, answer, position);
}

}  // namespace velora
