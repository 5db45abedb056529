#include "markup/bitmap_pool.h"

#include "markup/resource_loader.h"

namespace velora {

BkBmpPool& BkBmpPool::Instance() {
    static BkBmpPool pool;
    return pool;
}

HBITMAP BkBmpPool::Get(UINT id) {
    auto found = bitmaps_.find(id);
    if (found != bitmaps_.end()) {
        return found->second.Get();
    }
    // Resource ids are 16 bits; a larger number would silently name another one.
    if (id == 0 || id > 0xFFFF) {
        return nullptr;
    }
    ScopedBitmap bitmap = BkResourceLoader::Instance().LoadBitmapImage(id);
    if (!bitmap) {
        return nullptr;
    }
    return bitmaps_.emplace(id, std::move(bitmap)).first->second.Get();
}

}  // namespace velora
