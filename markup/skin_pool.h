#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "markup/skin_base.h"

namespace velora {

inline constexpr UINT kSkinTableId = 60000;

// A new skin of the kind a skin table tag names ("imglst", "imgframe",
// "button", "imghorzex", "gradation", "png", "jpg", "skinpng", "skinjpg"),
// or null for any other tag.
std::unique_ptr<CBkSkinBase> CreateSkin(const char* tag);

// Skins by name, from the skin table (root tag "skins", one element per
// skin: the tag is its kind, `name` its key). Owns the skins; their
// pictures belong to the image pools and are loaded on first fetch.
// (BkSkinPool is the file skins' prepared-bitmap cache, not this pool.)
class BkSkinObjectPool {
  public:
    static BkSkinObjectPool& Instance();

    // Empties the pool and loads every copy of table `id`; the first
    // definition of a name wins. False when no copy parsed.
    bool Load(UINT id);
    // The named skin with its picture loaded, or null when the pool has no
    // such skin (callers then draw nothing).
    CBkSkinBase* GetSkin(const std::string& name);
    std::size_t Count() const { return skins_.size(); }

  private:
    BkSkinObjectPool() = default;
    std::map<std::string, std::unique_ptr<CBkSkinBase>> skins_;
};

}  // namespace velora
