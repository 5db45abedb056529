#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class TiXmlElement;

namespace velora {

// One item of the older rich text's inline markup, with the formatting that
// was open where it stands.
struct InlineRichRun {
    enum class Kind { kText, kBreak, kOffset };
    Kind kind = Kind::kText;
    std::wstring text;
    std::uint32_t fontCode = 0;                  // font pool code
    COLORREF color = static_cast<COLORREF>(-1);  // -1: the style's text colour
    UINT vAlign = DT_BOTTOM;                     // 0 (top), DT_VCENTER or DT_BOTTOM
    int link = -1;                               // index into the links, -1 outside one
    int offset = 0;                              // kOffset: pixels
};

struct InlineRichDocument {
    std::vector<InlineRichRun> runs;
    std::vector<int> linkIds;  // `id` of each "a", in document order
};

// Which element names the markup may use beyond the shared ones.
enum class InlineRichDialect {
    kRichText,    // b, i, u, s, g, c, a, o, br
    kRichTextEx,  // the same, plus "color" (value) and "offset" (length, decimal)
};

// Reads the children of `element`: text, and the formatting elements
// "b", "i", "u" (font bits), "s" size (hexadecimal pixels added to the base
// size), "g" align ("t", "c", "b"), "c" color, "a" (a link), "o" offset
// (hexadecimal pixels) and "br". Unknown elements keep their content with the
// formatting around them. Text has its string references replaced.
InlineRichDocument ParseInlineRichText(const TiXmlElement* element, std::uint32_t defaultFont,
                                       InlineRichDialect dialect);

}  // namespace velora
