#pragma once

#include "markup/bk_object.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace velora {

// An address or handle written as unsigned decimal digits. Reads 0 (none) for
// anything that is not a plain digit run or that does not fit a pointer, so a
// value is never silently cut down to a different address.
std::uintptr_t ParseAddress(const std::string& text);

// Matches one markup attribute against a control's own names. Each reader
// answers true, after storing the parsed value, only when `name` is its own,
// so a control chains them: `r.Int("sub", sub_) || r.Text("skin", skin_)`.
class AttributeReader {
  public:
    AttributeReader(const std::string& name, const std::string& value)
        : name_(name), value_(value) {}

    bool Is(const char* name) const { return name_ == name; }
    const std::string& Value() const { return value_; }

    // Decimal integer (0 when malformed).
    bool Int(const char* name, int& field) const;
    // Decimal integer kept as its 32-bit pattern ("-1" is 0xFFFFFFFF).
    bool Unsigned(const char* name, std::uint32_t& field) const;
    // Hexadecimal digits without prefix (0 when malformed).
    bool Hex(const char* name, std::uint32_t& field) const;
    // "RRGGBB".
    bool Color(const char* name, COLORREF& field) const;
    // Stored as written (skin and class names).
    bool Text(const char* name, std::string& field) const;
    // Display text: UTF-8 in markup, UTF-16 in the control.
    bool WideText(const char* name, std::wstring& field) const;

  private:
    // Copies: a reader may be built from temporaries and outlive them.
    std::string name_;
    std::string value_;
};

}  // namespace velora
