#include "markup/pool_table.h"

#include "markup/resource_loader.h"
#include "markup/xml_document.h"

namespace velora {

bool LoadPoolTable(UINT id, const char* rootTag,
                   const std::function<void(const TiXmlElement& root)>& addEntries) {
    bool parsedAny = false;
    for (const std::string& text : BkResourceLoader::Instance().CollectDocuments(id)) {
        BkXmlDocument document;
        if (!document.Parse(text, rootTag)) {
            continue;
        }
        parsedAny = true;
        addEntries(*document.Root());
    }
    return parsedAny;
}

}  // namespace velora
