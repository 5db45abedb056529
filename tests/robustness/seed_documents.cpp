#include "tests/robustness/seed_documents.h"

#include "markup/resource_loader.h"
#include "markup/skin_pool.h"
#include "markup/string_pool.h"
#include "markup/style_pool.h"

namespace velora::test {
namespace {

std::string SeedText(UINT id) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"SEEDXML");
    HGLOBAL loaded = found != nullptr ? ::LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    return std::string(static_cast<const char*>(bytes), ::SizeofResource(nullptr, found));
}

std::wstring FileName(UINT id) {
    return std::to_wstring(id) + L".xml";
}

}  // namespace

const std::vector<SeedDocument>& SeedDocuments() {
    static const std::vector<SeedDocument> documents = [] {
        std::vector<SeedDocument> out;
        for (UINT id : {103u, 104u, 106u, 107u, 108u}) {
            out.push_back({id, true, SeedText(id)});
        }
        for (UINT id : {kSkinTableId, kStyleTableId, kStringTableId}) {
            out.push_back({id, false, SeedText(id)});
        }
        return out;
    }();
    return documents;
}

SeedFolder::SeedFolder() : folder_(L"velora robustness") {
    for (const SeedDocument& document : SeedDocuments()) {
        WriteFileBytes(folder_ / FileName(document.id), document.text);
    }
    BkResourceLoader::Instance().SetOverrideDirectory(folder_.Path());
}

SeedFolder::~SeedFolder() {
    BkResourceLoader::Instance().SetOverrideDirectory(L"");
}

void SeedFolder::Replace(UINT id, const std::string& text) {
    WriteFileBytes(folder_ / FileName(id), text);
}

void SeedFolder::Restore(UINT id) {
    for (const SeedDocument& document : SeedDocuments()) {
        if (document.id == id) {
            Replace(id, document.text);
        }
    }
}

void SeedFolder::LoadTables() {
    BkSkinObjectPool::Instance().Load(kSkinTableId);
    BkStylePool::Instance().Load(kStyleTableId);
    BkString::Instance().Load(kStringTableId);
}

}  // namespace velora::test
