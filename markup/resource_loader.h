#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/gdi_scopes.h"

namespace velora {

// Resource type names of markup documents and images (matched without regard
// to case, like all resource type names).
inline constexpr char kXmlType[] = "xml";
inline constexpr char kPngType[] = "png";
inline constexpr char kJpgType[] = "jpg";

// Files larger than this are not markup or pictures of ours.
inline constexpr DWORD kMaxFileBytes = 64 * 1024 * 1024;

// The whole content of a file of 1..kMaxFileBytes bytes; false otherwise.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// Supplies resources from somewhere other than a module or a folder.
class IBkResourceStreamProvider {
  public:
    virtual ~IBkResourceStreamProvider() = default;
    // The bytes of resource `id` of `type`, or false when it has none.
    virtual bool Read(const char* type, UINT id, std::string& bytes) = 0;
};

// Finds markup documents and images by id. Besides the program's own
// resources it can look in an override folder ("<dir>\<id>.<type>"), a
// secondary module and a stream provider; the installer sets none of them,
// tests use them to load documents of their own.
class BkResourceLoader {
  public:
    static BkResourceLoader& Instance();

    void SetOverrideDirectory(std::wstring directory) { directory_ = std::move(directory); }
    void SetSecondaryModule(HMODULE module) { secondary_ = module; }
    void SetStreamProvider(std::shared_ptr<IBkResourceStreamProvider> provider) {
        provider_ = std::move(provider);
    }
    // The module searched as "the program's own resources" (default: this executable).
    void SetOwnModule(HMODULE module) { own_ = module; }

    // First copy of a document: secondary module, own resources, override folder.
    bool LoadDocument(UINT id, std::string& text) const;
    // Every copy of a document, in the order stream provider, secondary module,
    // own resources, override folder.
    std::vector<std::string> CollectDocuments(UINT id) const;
    // An image's bytes ("png" or "jpg"): stream provider, secondary module, own
    // resources, override folder.
    bool LoadImageBytes(UINT id, const char* type, std::string& bytes) const;
    // A bitmap: secondary module, own resources, override folder ("<dir>\<id>.bmp").
    // Loaded as a DIB section so its own colour depth is kept.
    ScopedBitmap LoadBitmapImage(UINT id) const;

  private:
    BkResourceLoader() = default;

    bool FromProvider(const char* type, UINT id, std::string& bytes) const;
    bool FromModule(HMODULE module, const char* type, UINT id, std::string& bytes) const;
    bool FromDirectory(const char* type, UINT id, std::string& bytes) const;

    std::wstring directory_;
    HMODULE secondary_ = nullptr;
    HMODULE own_ = nullptr;
    std::shared_ptr<IBkResourceStreamProvider> provider_;
};

}  // namespace velora
