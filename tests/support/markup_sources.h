#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "markup/resource_loader.h"
#include "markup/style_pool.h"
#include "tests/support/test_files.h"

namespace velora::test {

// Serves documents from memory through the resource loader's stream provider.
class MemoryResources : public IBkResourceStreamProvider {
  public:
    void Put(const char* type, UINT id, std::string bytes) {
        items_[{type, id}] = std::move(bytes);
    }
    bool Read(const char* type, UINT id, std::string& bytes) override {
        auto found = items_.find({type, id});
        if (found == items_.end()) {
            return false;
        }
        bytes = found->second;
        return true;
    }

  private:
    std::map<std::pair<std::string, UINT>, std::string> items_;
};

// Points the process-wide resource loader at a memory provider and a
// temporary override folder for the life of a test, then clears both.
class MarkupSources {
  public:
    MarkupSources() : folder_(L"velora markup test"), memory_(std::make_shared<MemoryResources>()) {
        BkResourceLoader::Instance().SetOverrideDirectory(folder_.Path());
        BkResourceLoader::Instance().SetStreamProvider(memory_);
    }
    ~MarkupSources() {
        BkResourceLoader::Instance().SetOverrideDirectory(L"");
        BkResourceLoader::Instance().SetStreamProvider(nullptr);
    }
    MarkupSources(const MarkupSources&) = delete;
    MarkupSources& operator=(const MarkupSources&) = delete;

    // A document in the memory provider (the first source a pool reads).
    void InMemory(UINT id, std::string text) { memory_->Put(kXmlType, id, std::move(text)); }
    // A file "<id>.<type>" in the override folder (the last source).
    void InFolder(UINT id, const std::string& text, const wchar_t* type = L"xml") {
        WriteFileBytes(folder_ / (std::to_wstring(id) + L"." + type), text);
    }

  private:
    TempFolder folder_;
    std::shared_ptr<MemoryResources> memory_;
};

// A style table (the <class> entries given) for the life of a test; the pool
// goes back to its default record only afterwards.
class ScopedStyleTable {
  public:
    explicit ScopedStyleTable(const std::string& classes) {
        sources_.InMemory(kStyleTableId, "<style>" + classes + "</style>");
        loaded_ = BkStylePool::Instance().Load(kStyleTableId);
    }
    ~ScopedStyleTable() { BkStylePool::Instance().Load(kStyleTableId + 100); }
    ScopedStyleTable(const ScopedStyleTable&) = delete;
    ScopedStyleTable& operator=(const ScopedStyleTable&) = delete;

    bool Loaded() const { return loaded_; }

  private:
    MarkupSources sources_;
    bool loaded_ = false;
};

}  // namespace velora::test
