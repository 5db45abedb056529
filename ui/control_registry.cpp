#include "ui/control_registry.h"

namespace velora {

BkControlRegistry& BkControlRegistry::Instance() {
    // Never destroyed: controls may outlive static destruction order.
    static BkControlRegistry* registry = new BkControlRegistry();
    return *registry;
}

std::int32_t BkControlRegistry::Register(CBkWindow* control) {
    ScopedExclusiveLock guard(lock_);
    const std::int32_t handle = ++counter_;
    controls_[handle] = control;
    return handle;
}

void BkControlRegistry::Unregister(std::int32_t handle) {
    ScopedExclusiveLock guard(lock_);
    controls_.erase(handle);
}

CBkWindow* BkControlRegistry::Find(std::int32_t handle) const {
    ScopedExclusiveLock guard(lock_);
    auto found = controls_.find(handle);
    return found == controls_.end() ? nullptr : found->second;
}

std::int32_t BkControlRegistry::LastHandle() const {
    ScopedExclusiveLock guard(lock_);
    return counter_;
}

}  // namespace velora
