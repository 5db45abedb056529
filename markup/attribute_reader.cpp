#include "markup/attribute_reader.h"

#include "markup/font_pool.h"
#include "markup/string_pool.h"
#include "markup/value_parsers.h"

namespace velora {
namespace {

// The last link of every reader: stores and accepts.
template <typename T, typename V>
bool Store(T& field, const V& value) {
    field = value;
    return true;
}

}  // namespace

bool AttributeReader::Int(const char* name, int& field) const {
    return Is(name) && Store(field, ParseDecimal(value_));
}

bool AttributeReader::Int(const char* name, LONG& field) const {
    return Is(name) && Store(field, ParseDecimal(value_));
}

bool AttributeReader::Unsigned(const char* name, std::uint32_t& field) const {
    return Is(name) && Store(field, static_cast<std::uint32_t>(ParseDecimal(value_)));
}

bool AttributeReader::Hex(const char* name, std::uint32_t& field) const {
    return Is(name) && Store(field, ParseHexCode(value_));
}

bool AttributeReader::Color(const char* name, COLORREF& field) const {
    return Is(name) && Store(field, ParseColor(value_));
}

bool AttributeReader::Flag(const char* name, bool& field) const {
    return Is(name) && Store(field, ParseFlag(value_));
}

bool AttributeReader::Font(const char* name, HFONT& field) const {
    return Is(name) && Store(field, BkFontPool::Instance().GetFont(ParseHexCode(value_)));
}

bool AttributeReader::Text(const char* name, std::string& field) const {
    return Is(name) && Store(field, value_);
}

bool AttributeReader::WideText(const char* name, std::wstring& field) const {
    return Is(name) && Store(field, Utf8ToUtf16(value_));
}

bool AttributeReader::TextWithStrings(const char* name, std::wstring& field) const {
    return Is(name) && Store(field, SubstituteStringReferences(Utf8ToUtf16(value_)));
}

}  // namespace velora
