#include "controls/control_attributes.h"

#include <cstring>
#include <limits>

#include "markup/value_parsers.h"

namespace velora {

std::uintptr_t ParseAddress(const std::string& text) {
    constexpr std::uintptr_t kMax = std::numeric_limits<std::uintptr_t>::max();
    std::uintptr_t value = 0;
    if (text.empty()) {
        return 0;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        const auto digit = static_cast<std::uintptr_t>(c - '0');
        if (value > (kMax - digit) / 10) {
            return 0;
        }
        value = value * 10 + digit;
    }
    return value;
}

bool AttributeReader::Int(const char* name, int& field) const {
    if (!Is(name)) {
        return false;
    }
    field = ParseDecimal(value_);
    return true;
}

bool AttributeReader::Unsigned(const char* name, std::uint32_t& field) const {
    if (!Is(name)) {
        return false;
    }
    field = static_cast<std::uint32_t>(ParseDecimal(value_));
    return true;
}

bool AttributeReader::Hex(const char* name, std::uint32_t& field) const {
    if (!Is(name)) {
        return false;
    }
    field = ParseHexCode(value_);
    return true;
}

bool AttributeReader::Color(const char* name, COLORREF& field) const {
    if (!Is(name)) {
        return false;
    }
    field = ParseColor(value_);
    return true;
}

bool AttributeReader::Text(const char* name, std::string& field) const {
    if (!Is(name)) {
        return false;
    }
    field = value_;
    return true;
}

bool AttributeReader::WideText(const char* name, std::wstring& field) const {
    if (!Is(name)) {
        return false;
    }
    field = Utf8ToUtf16(value_);
    return true;
}

}  // namespace velora
