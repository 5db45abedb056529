#include "ui/control_registry.h"

namespace velora {

BkControlRegistry& BkControlRegistry::Instance() {
    // Never destroyed: controls may outlive static destruction order.
    static BkControlRegistry* registry = new BkControlRegistry();
    return *registry;
}

std::int32_t BkControlRegistry::Register(CBkWindow* control) {
    std::lock_guard<std::mutex> guard(lock_);
    const std::int32_t handle = ++counter_;
    controls_[handle] = control;
    return handle;
}

void BkControlRegistry::Unregister(std::int32_t handle) {
    std::lock_guard<std::mutex> guard(lock_);
    controls_.erase(handle);
}

CBkWindow* BkControlRegistry::Find(std::int32_t handle) const {
    std::lock_guard<std::mutex> guard(lock_);
    auto found = controls_.find(handle);
    return found == controls_.end() ? nullptr : found->second;
}

std::int32_t BkControlRegistry::LastHandle() const {
    std::lock_guard<std::mutex> guard(lock_);
    return counter_;
}

}  // namespace velora
