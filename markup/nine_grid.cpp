#include "markup/nine_grid.h"

#include <algorithm>

namespace velora {
namespace {

// Cuts of one axis: near margin, far margin; both fit `length`.
struct AxisCuts {
    int nearSide;
    int farSide;
};

AxisCuts FitMargins(int nearSide, int farSide, int length) {
    nearSide = std::max(0, nearSide);
    farSide = std::max(0, farSide);
    length = std::max(0, length);
    const long long sum = static_cast<long long>(nearSide) + farSide;
    if (sum <= length) {
        return {nearSide, farSide};
    }
    const int fittedNear = static_cast<int>(static_cast<long long>(nearSide) * length / sum);
    return {fittedNear, length - fittedNear};
}

// The three spans of one axis starting at `start`.
void Spans(int start, int length, const AxisCuts& cuts, int (&edges)[4]) {
    edges[0] = start;
    edges[1] = start + cuts.nearSide;
    edges[2] = start + length - cuts.farSide;
    edges[3] = start + length;
}

// Not empty, and small enough that no edge arithmetic can wrap.
bool FitsGrid(const RECT& rect) {
    constexpr long long kMaxSide = 1 << 24;
    const long long width = static_cast<long long>(rect.right) - rect.left;
    const long long height = static_cast<long long>(rect.bottom) - rect.top;
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

}  // namespace

void DrawNineGrid(HDC dc, CBkSkinBase& skin, const RECT& destination, const RECT& source,
                  const RECT& margins, NineGridMiddle middle) {
    if (!FitsGrid(source) || !FitsGrid(destination)) {
        return;
    }
    const int sourceWidth = source.right - source.left;
    const int sourceHeight = source.bottom - source.top;
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    const AxisCuts sourceX = FitMargins(margins.left, margins.right, sourceWidth);
    const AxisCuts sourceY = FitMargins(margins.top, margins.bottom, sourceHeight);
    const AxisCuts targetX = FitMargins(sourceX.nearSide, sourceX.farSide, width);
    const AxisCuts targetY = FitMargins(sourceY.nearSide, sourceY.farSide, height);
    int sx[4], sy[4], dx[4], dy[4];
    Spans(source.left, sourceWidth, sourceX, sx);
    Spans(source.top, sourceHeight, sourceY, sy);
    Spans(destination.left, width, targetX, dx);
    Spans(destination.top, height, targetY, dy);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (row == 1 && column == 1 && middle == NineGridMiddle::kSkip) {
                continue;
            }
            const RECT to = {dx[column], dy[row], dx[column + 1], dy[row + 1]};
            const RECT from = {sx[column], sy[row], sx[column + 1], sy[row + 1]};
            if (to.right > to.left && to.bottom > to.top && from.right > from.left &&
                from.bottom > from.top) {
                skin.DrawPartAlpha(dc, to, from, 255);
            }
        }
    }
}

}  // namespace velora
