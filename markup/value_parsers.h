#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace velora {

// Attribute value syntaxes shared by every markup reader. None of them fails:
// malformed text reads as 0 or as the documented fallback.

// Optional "-" then decimal digits; stops at the first other character. No
// digits reads as 0. Values beyond 32 bits saturate at INT32_MIN / INT32_MAX.
// When `end` is given it receives the first character not consumed.
std::int32_t ParseDecimal(const char* text, const char** end = nullptr);
inline std::int32_t ParseDecimal(const std::string& text) {
    return ParseDecimal(text.c_str());
}

// A decimal integer that is not 0.
inline bool ParseFlag(const std::string& text) {
    return ParseDecimal(text) != 0;
}

// "RRGGBB" (either case, no prefix) -> COLORREF. Each pair is read on its own:
// a pair with a non-hex character, or missing, gives 0 for that component.
COLORREF ParseColor(const std::string& text);

// Hexadecimal digits without prefix; any other character makes the whole
// value 0. Digits beyond 32 bits keep the low 32 bits (the value wraps).
std::uint32_t ParseHexCode(const std::string& text);

// UTF-8 display text -> UTF-16. Invalid sequences become U+FFFD.
std::wstring Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::wstring& text);

}  // namespace velora
