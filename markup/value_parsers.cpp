#include "markup/value_parsers.h"

#include <climits>

namespace velora {
namespace {

// Value of one hexadecimal digit, or -1.
int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// One colour component from two characters; 0 when either is missing or not hex.
int ColorPair(const std::string& text, std::size_t at) {
    if (text.size() < at + 2) {
        return 0;
    }
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    return (high < 0 || low < 0) ? 0 : high * 16 + low;
}

}  // namespace

std::int32_t ParseDecimal(const char* text, const char** end) {
    if (text == nullptr) {
        if (end != nullptr) {
            *end = nullptr;
        }
        return 0;
    }
    const char* p = text;
    const bool negative = *p == '-';
    if (negative) {
        ++p;
    }
    // Accumulate in 64 bits and stop growing once past the 32-bit range, so a
    // long digit run saturates instead of overflowing.
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t value = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9') {
        if (value <= limit) {
            value = value * 10 + (*p - '0');
        }
        ++p;
    }
    if (end != nullptr) {
        *end = p == digits ? text : p;
    }
    if (value > limit) {
        value = limit;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

COLORREF ParseColor(const std::string& text) {
    return RGB(ColorPair(text, 0), ColorPair(text, 2), ColorPair(text, 4));
}

std::uint32_t ParseHexCode(const std::string& text) {
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return 0;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::wstring Utf8ToUtf16(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring result(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &result[0], needed);
    return result;
}

std::string Utf16ToUtf8(const std::wstring& text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string result(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &result[0], needed, nullptr, nullptr);
    return result;
}

}  // namespace velora
