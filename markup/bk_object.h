#pragma once

#include <string>

class TiXmlElement;

namespace velora {

// Tags compare byte for byte and case-sensitively; a null tag matches nothing.
bool MatchesTag(const char* tag, const char* own);

// Anything loaded from markup: controls, style classes, skins. Loading hands
// every attribute, in document order, to SetAttribute; an object declines the
// names (and keyword values) it does not know, and those are ignored.
class CBkObject {
  public:
    CBkObject() = default;
    CBkObject(const CBkObject&) = delete;
    CBkObject& operator=(const CBkObject&) = delete;
    virtual ~CBkObject() = default;

    // True only for the object's own tag (never a base class's tag).
    virtual bool IsClass(const char* tag) const = 0;
    virtual const char* GetObjectClass() const = 0;

    // Runs the attribute pass over `element`, then OnAttributesLoaded.
    virtual bool Load(const TiXmlElement* element);
    virtual void OnAttributesLoaded() {}
    // True when the name was recognised and the value accepted. `loading` is
    // false for changes made at run time.
    virtual bool SetAttribute(const std::string& name, const std::string& value, bool loading);
};

}  // namespace velora
