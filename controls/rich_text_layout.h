#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "controls/rich_text_graphics.h"

namespace velora {

// The box rich text flows in and the pen position inside it. A line is
// `lineHeight` high; wrapping is by character.
struct RichTextFlow {
    float left = 0;
    float top = 0;
    float right = 0;
    float lineHeight = 20;
    float x = 0;
    float y = 0;
    // The mean width of a character on the last line a run filled (0: none
    // yet): how many characters the next line holds is first guessed from
    // it, also in the next run. Saves measurements only.
    float charWidth = 0;

    float Width() const { return right - left; }
    void NewLine() {
        x = left;
        y += lineHeight;
    }
};

// How many characters of a run are tried against the rest of a line: one
// fewer at a time, or a binary search over the same measurements. Both give
// the same pieces as long as a longer string never measures narrower.
enum class RichTextFit { kLinear, kBinarySearch };

// One laid-out piece of a run: characters [start, start + count) in `rect`.
struct RichTextPiece {
    RichRect rect;
    std::size_t start = 0;
    std::size_t count = 0;
};

// `break`: the next line's start.
void FlowBreak(RichTextFlow& flow);
// `offset` of `length` pixels, wrapping onto following lines. A box without
// width has nothing to wrap into, so the offset is ignored there.
void FlowOffset(RichTextFlow& flow, int length);
// Before a run drawn on whole pixels: x rounded up, and a run that would
// start on or past the right edge starts on the next line instead.
void FlowStartOnWholePixel(RichTextFlow& flow);

// Cuts `text` into pieces that fill the lines from the pen on, moving the
// pen. Every step places at least one character, so this always ends: a
// character that fits nowhere (wider than the box, or an empty box) is put
// alone at the start of a line.
std::vector<RichTextPiece> FlowRunPieces(const std::wstring& text, IRichTextGraphics& graphics,
                                         RichTextFlow& flow,
                                         RichTextFit fit = RichTextFit::kBinarySearch);

}  // namespace velora
