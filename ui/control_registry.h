#pragma once

#include <cstdint>
#include <unordered_map>

#include "base/exclusive_lock.h"

namespace velora {

class CBkWindow;

// Process-wide table from control handle to control. Handles are serial
// (1, 2, 3, ...) and never reused. The lock guards only the table and the
// counter; it is never held while a control's own code runs.
class BkControlRegistry {
  public:
    static BkControlRegistry& Instance();

    // Gives `control` the next handle.
    std::int32_t Register(CBkWindow* control);
    void Unregister(std::int32_t handle);
    // The live control with that handle, or null.
    CBkWindow* Find(std::int32_t handle) const;
    // The same through the instance; 0, never a handle, is null without a lookup.
    static CBkWindow* Lookup(std::int32_t handle) {
        return handle != 0 ? Instance().Find(handle) : nullptr;
    }
    // The last handle given out.
    std::int32_t LastHandle() const;

    // Also guards the radio and image-button group map kept by the controls.
    ExclusiveLock& Lock() const { return lock_; }

  private:
    BkControlRegistry() = default;

    mutable ExclusiveLock lock_;
    std::int32_t counter_ = 0;
    std::unordered_map<std::int32_t, CBkWindow*> controls_;
};

}  // namespace velora
