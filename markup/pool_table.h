#pragma once

#include <windows.h>

#include <functional>

class TiXmlElement;

namespace velora {

// Loads a pool table from every copy of document `id` that the resource
// loader finds: each copy whose root tag is `rootTag` is handed, in order, to
// `addEntries` (which must skip keys already present, so the first definition
// wins). True when at least one copy parsed.
bool LoadPoolTable(UINT id, const char* rootTag,
                   const std::function<void(const TiXmlElement& root)>& addEntries);

}  // namespace velora
