#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace velora {

// One keyword of an enumerated attribute and the value it stands for.
template <typename T>
struct AttributeWord {
    const char* word;
    T value;
};

// Matches one markup attribute against an object's own names. Each reader
// answers true, after storing the parsed value, only when `name` is its own,
// so SetAttribute is one chain: `r.Int("sub", sub_) || r.Text("skin", skin_)`.
// Malformed values read as the value syntaxes say (0, or per colour pair);
// only Enum and Apply can decline a value.
class AttributeReader {
  public:
    AttributeReader(const std::string& name, const std::string& value)
        : name_(name), value_(value) {}

    bool Is(const char* name) const { return name_ == name; }
    const std::string& Value() const { return value_; }

    // Decimal integer (0 when malformed); LONG for RECT sides.
    bool Int(const char* name, int& field) const;
    bool Int(const char* name, LONG& field) const;
    // Decimal integer kept as its 32-bit pattern ("-1" is 0xFFFFFFFF).
    bool Unsigned(const char* name, std::uint32_t& field) const;
    // Hexadecimal digits without prefix (0 when malformed).
    bool Hex(const char* name, std::uint32_t& field) const;
    // "RRGGBB".
    bool Color(const char* name, COLORREF& field) const;
    // A decimal integer that is not 0.
    bool Flag(const char* name, bool& field) const;
    // A hexadecimal font code, resolved by the font pool.
    bool Font(const char* name, HFONT& field) const;
    // Stored as written (skin and class names).
    bool Text(const char* name, std::string& field) const;
    // Display text: UTF-8 in markup, UTF-16 in the object.
    bool WideText(const char* name, std::wstring& field) const;
    // Display text whose "%strN%" references are replaced from the string pool.
    bool TextWithStrings(const char* name, std::wstring& field) const;

    // One of `words`, compared byte for byte. An unknown word is declined and
    // the field keeps its value.
    template <typename T, std::size_t N>
    bool Enum(const char* name, const AttributeWord<T> (&words)[N], T& field) const {
        if (!Is(name)) {
            return false;
        }
        for (const AttributeWord<T>& entry : words) {
            if (value_ == entry.word) {
                field = entry.value;
                return true;
            }
        }
        return false;
    }

    // For a value that does more than fill one field: `apply(value)` runs for
    // this name only, and its answer (accepted or declined) is the reader's.
    template <typename Action>
    bool Apply(const char* name, Action&& apply) const {
        return Is(name) && apply(value_);
    }

  private:
    // Copies: a reader may be built from temporaries and outlive them.
    std::string name_;
    std::string value_;
};

}  // namespace velora
