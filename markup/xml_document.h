#pragma once

#include <string>

#include <tinyxml.h>

namespace velora {

// Deeper element nesting than this rejects a document: the parser and the
// control tree recurse once per level, and no layout of ours comes near it.
inline constexpr int kMaxElementDepth = 128;

// How deeply the elements of `text` nest, counting no further than `limit` + 1.
// Quoted attribute values, comments, CDATA and declarations are skipped.
int ElementDepth(const char* text, int limit);

// One parsed markup document. A document is used whole or not at all: a parse
// error or an unexpected root tag rejects it.
class BkXmlDocument {
  public:
    // Parses UTF-8 text (a leading byte-order mark is skipped) and checks that
    // the root element's tag is `rootTag`. Nesting beyond kMaxElementDepth is
    // refused before parsing.
    bool Parse(const std::string& text, const char* rootTag);
    const TiXmlElement* Root() const { return root_; }

  private:
    TiXmlDocument document_;
    const TiXmlElement* root_ = nullptr;
};

// Attribute text as stored (UTF-8), or null when absent.
const char* AttributeText(const TiXmlElement* element, const char* name);
// Attribute read as a decimal integer; 0 when absent.
int AttributeInt(const TiXmlElement* element, const char* name);
// The element's first text child (UTF-8); empty when it has none.
std::string ElementText(const TiXmlElement* element);

}  // namespace velora
