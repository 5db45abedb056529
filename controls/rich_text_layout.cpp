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
    // The first try while no line has been filled yet.
    static constexpr std::size_t kFirstProbe = 64;
    // Guesses beyond this are not trusted (near-zero widths).
    static constexpr std::size_t kLongestGuess = 1 << 16;

    LineFitter(const std::wstring& text, IRichTextGraphics& graphics, const RichTextFlow& flow)
        : text_(text), graphics_(graphics), flow_(flow), charWidth_(flow.charWidth) {}

    // The mean character width of the last filled line (see RichTextFlow).
    float CharWidth() const { return charWidth_; }

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
    // character more than the rest of the line would hold at the mean
    // character width of the last filled line, then that guess; from a
    // fitting try, one more, then prefixes double until one does not fit,
    // and a binary search between the last two finds the longest that does.
    // Nothing much longer than a line is measured, so a long run costs time
    // linear in its length, not in its length times its lines. After a piece
    // that ended because one more character did not fit, the pen usually
    // stays just short of the line's end: one character is tried first, and
    // when it does not fit either that is the answer.
    std::size_t Binary(std::size_t start, std::size_t count, RichRect& rect) {
        if (lineFilled_ && flow_.x > flow_.left) {
            lineFilled_ = false;
            rect = Fit(start, 1);
            if (!Fits(rect)) {
                return 1;
            }
        }
        const std::size_t answer = Gallop(start, count, rect);
        lineFilled_ = answer < count && Fits(rect);
        if (answer < count) {
            charWidth_ = rect.Width() / static_cast<float>(answer);
        }
        return answer;
    }

  private:
    // One character more than the rest of the line would hold at the last
    // filled line's mean character width.
    std::size_t Hint() const {
        const float guess = (flow_.right - flow_.x) / charWidth_;
        if (!(charWidth_ > 0) || !(guess >= 0) || guess >= static_cast<float>(kLongestGuess)) {
            return kFirstProbe;
        }
        return std::max<std::size_t>(1, static_cast<std::size_t>(guess)) + 1;
    }

    std::size_t Gallop(std::size_t start, std::size_t count, RichRect& rect) const {
        std::size_t probe = std::min(count, Hint());
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
            if (probe + 1 == std::min(count, Hint())) {
                rect = tried;
                return probe;
            }
        }
        std::size_t found = probe;
        RichRect foundRect = tried;
        // The guess fits: one character more is tried before doubling, as a
        // line often holds just one more than the last.
        bool oneMore = true;
        while (found < count) {
            probe = oneMore ? found + 1 : (found > count / 2 ? count : found * 2);
            oneMore = false;
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
    float charWidth_;
    bool lineFilled_ = false;  // the last answer was cut by the line's end
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
    flow.charWidth = fitter.CharWidth();
    return pieces;
}

}  // namespace velora
