#include "markup/prepared_bitmap_pool.h"

namespace velora {

BkSkinPool& BkSkinPool::Instance() {
    static BkSkinPool pool;
    return pool;
}

const Dib32* BkSkinPool::Find(UINT id) const {
    auto found = pictures_.find(id);
    return found != pictures_.end() ? &found->second : nullptr;
}

bool BkSkinPool::Put(UINT id, Dib32 picture) {
    if (!picture.IsValid()) {
        return false;
    }
    return pictures_.emplace(id, std::move(picture)).second;
}

}  // namespace velora
