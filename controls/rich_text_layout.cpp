#include "controls/rich_text_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace velora {
namespace {

// The drawing calls take int lengths; a run is never that long in practice.
int CallLength(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

class LineFitter {
  public:
    // The first try of a run's first line.
    static constexpr std::size_t kFirstProbe = 64;

    LineFitter(const std::wstring& text, IRichTextGraphics& graphics, const RichTextFlow& flow)
        : text_(text), graphics_(graphics), flow_(flow) {}

    // Characters [start, start + count) placed at the pen, up to the line's end.
    RichRect Fit(std::size_t start, std::size_t count) const {
        const RichRect candidate = {flow_.x, flow_.y, flow_.right, flow_.y + flow_.lineHeight};
        return graphics_.FitString(text_.c_str() + start, CallLength(count), candidate);
    }
    // NaN measurements never fit, so they end up placed one by one.
    bool Fits(const RichRect& rect) const { return rect.right <= flow_.right; }

    // The longest prefix of the `count` characters at `start` that fits, one
    // character fewer per try; a single character when none fits.
    std::size_t Linear(std::size_t start, std::size_t count, RichRect& rect) const {
        rect = Fit(start, count);
        while (!Fits(rect) && count > 1) {
            --count;
            rect = Fit(start, count);
        }
        return count;
    }

    // The same answer found by galloping and halving. The first try is one
    // character more than the previous line took (lines of one run tend to
    // hold alike), then that line's count; from a fitting try prefixes
    // double until one does not fit, and a binary search between the last
    // two finds the longest that does. Nothing much longer than a line is
    // measured, so a long run costs time linear in its length, not in its
    // length times its lines.
    std::size_t Binary(std::size_t start, std::size_t count, RichRect& rect) {
        const std::size_t answer = Gallop(start, count, rect);
        hint_ = answer + 1;
        return answer;
    }

  private:
    std::size_t Gallop(std::size_t start, std::size_t count, RichRect& rect) const {
        std::size_t probe = std::min(count, hint_);
        RichRect tried = Fit(start, probe);
        if (!Fits(tried)) {
            if (probe == 1) {
                rect = tried;
                return 1;
            }
            --probe;  // the previous line's count
            tried = Fit(start, probe);
            if (!Fits(tried)) {
                return Search(start, 1, probe - 1, 0, RichRect{}, rect);
            }
            if (probe + 1 == std::min(count, hint_)) {
                rect = tried;
                return probe;
            }
        }
        std::size_t found = probe;
        RichRect foundRect = tried;
        while (found < count) {
            probe = found > count / 2 ? count : found * 2;
            tried = Fit(start, probe);
            if (!Fits(tried)) {
                return Search(start, found + 1, probe - 1, found, foundRect, rect);
            }
            found = probe;
            foundRect = tried;
        }
        rect = foundRect;
        return found;
    }

    // The longest prefix in [low, high] that fits, given that `found` (below
    // low, 0 for none) fits with `foundRect`; a single character when none does.
    std::size_t Search(std::size_t start, std::size_t low, std::size_t high, std::size_t found,
                       RichRect foundRect, RichRect& rect) const {
        RichRect oneRect;
        bool measuredOne = false;
        while (low <= high) {
            const std::size_t middle = low + (high - low) / 2;
            const RichRect tried = Fit(start, middle);
            if (middle == 1) {
                oneRect = tried;
                measuredOne = true;
            }
            if (Fits(tried)) {
                found = middle;
                foundRect = tried;
                low = middle + 1;
            } else {
                high = middle - 1;
            }
        }
        if (found != 0) {
            rect = foundRect;
            return found;
        }
        rect = measuredOne ? oneRect : Fit(start, 1);
        return 1;
    }

    const std::wstring& text_;
    IRichTextGraphics& graphics_;
    const RichTextFlow& flow_;
    std::size_t hint_ = kFirstProbe;
};

}  // namespace

void FlowBreak(RichTextFlow& flow) {
    flow.NewLine();
}

void FlowOffset(RichTextFlow& flow, int length) {
    const float width = flow.Width();
    if (!(width > 0)) {
        return;  // nothing to wrap into, and no width to divide by
    }
    const float indent = std::max(0.0f, flow.x - flow.left);
    const float lines = std::trunc((static_cast<float>(length) + indent) / width);
    flow.y += lines * flow.lineHeight;
    flow.x = flow.left + indent + static_cast<float>(length) - lines * width;
}

void FlowStartOnWholePixel(RichTextFlow& flow) {
    flow.x = std::ceil(flow.x);
    if (flow.x >= flow.right) {
        // Starting over at the left of the same line would draw over it.
        flow.NewLine();
    }
}

std::vector<RichTextPiece> FlowRunPieces(const std::wstring& text, IRichTextGraphics& graphics,
                                         RichTextFlow& flow, RichTextFit fit) {
    std::vector<RichTextPiece> pieces;
    LineFitter fitter(text, graphics, flow);
    std::size_t next = 0;
    while (next < text.size()) {
        const std::size_t rest = text.size() - next;
        RichRect rect;
        const std::size_t count = fit == RichTextFit::kLinear ? fitter.Linear(next, rest, rect)
                                                              : fitter.Binary(next, rest, rect);
        if (rect.right < flow.right) {
            pieces.push_back({rect, next, count});
            flow.x = rect.right;
        } else if (rect.right == flow.right) {
            pieces.push_back({rect, next, count});
            flow.NewLine();
        } else if (flow.x > flow.left) {
            // One character that does not fit in what is left of the line:
            // the same character again, from the next line's start.
            flow.NewLine();
            continue;
        } else {
            // Not even at a line's start (wider than the box, an empty box,
            // or no usable measurement): alone on its line, cut to the box,
            // so the run always moves on.
            rect.right = std::max(rect.left, std::min(rect.right, flow.right));
            pieces.push_back({rect, next, count});
            flow.NewLine();
        }
        next += count;
    }
    return pieces;
}

}  // namespace velora
