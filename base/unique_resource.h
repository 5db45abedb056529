#pragma once

#include <utility>

namespace velora {

// Move-only owner of one platform resource. `Traits` supplies the raw type, the
// "no resource" value, a validity test and the release function.
template <typename Traits>
class UniqueResource {
  public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Type Get() const { return value_; }
    bool IsValid() const { return Traits::IsValid(value_); }
    explicit operator bool() const { return IsValid(); }

    // Gives up ownership without releasing.
    Type Release() {
        Type value = value_;
        value_ = Traits::Invalid();
        return value;
    }

    // Releases the current resource (if any) and takes `value`.
    void Reset(Type value = Traits::Invalid()) {
        if (Traits::IsValid(value_)) {
            Traits::Close(value_);
        }
        value_ = value;
    }

    // Releases the current resource and returns the slot for an out-parameter.
    Type* Receive() {
        Reset();
        return &value_;
    }

  private:
    Type value_ = Traits::Invalid();
};

}  // namespace velora
