#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

namespace velora {

inline constexpr UINT kStringTableId = 60002;

// Display texts by numeric id, from the string table (root tag "string",
// entries <s id="N">text</s>).
class BkString {
  public:
    static BkString& Instance();

    // Empties the pool and loads every copy of table `id`. False when no copy parsed.
    bool Load(UINT id);
    // The text for `id`, or null.
    const std::wstring* Find(std::int32_t id) const;
    std::size_t Count() const { return strings_.size(); }

  private:
    BkString() = default;
    std::unordered_map<std::int32_t, std::wstring> strings_;
};

using StringLookup = std::function<const std::wstring*(std::int32_t id)>;

// Replaces references "%strN%" in element text by string N (nothing when the
// pool lacks it). A reference with no id greater than 0, or without its
// closing "%", ends the substitution. Inserted text is not searched again, so
// a string that refers to itself cannot loop.
std::wstring SubstituteStringReferences(const std::wstring& text, const StringLookup& lookup);
// The same against the process-wide string pool.
std::wstring SubstituteStringReferences(const std::wstring& text);

}  // namespace velora
