#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace velora::test {

// Turns a well-formed markup document into a damaged one, the same way for
// the same seed: byte flips, truncation, duplicated and deleted elements and
// attributes, extreme numbers, deep nesting and very long strings.
class XmlMutator {
  public:
    explicit XmlMutator(std::uint32_t seed) : random_(seed) {}

    // One to four mutations applied to `document`; `applied` names them.
    std::string Mutate(const std::string& document, std::string* applied = nullptr);

  private:
    std::size_t Below(std::size_t bound);
    bool Chance(int percent) { return Below(100) < static_cast<std::size_t>(percent); }
    std::string InterestingValue();
    std::string LongString();

    // Text-level mutations; each leaves `text` changed or unchanged, never invalid UTF-8
    // on purpose (byte flips aside).
    void FlipBytes(std::string& text);
    void Truncate(std::string& text);
    void DuplicateAttribute(std::string& text);
    void InsertDeepNesting(std::string& text);
    // Tree-level mutations through the parser; false when the text does not parse.
    bool MutateTree(std::string& text, int kind);

    std::mt19937 random_;
};

}  // namespace velora::test
