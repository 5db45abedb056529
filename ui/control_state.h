#pragma once

#include <cstdint>

namespace velora {

// State bits shared by all controls.
enum class ControlState : std::uint32_t {
    kNone = 0,
    kHover = 0x01,
    kPushed = 0x02,
    kChecked = 0x04,
    kHidden = 0x08,
    kDisabled = 0x10,
};

constexpr ControlState operator|(ControlState a, ControlState b) {
    return static_cast<ControlState>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
constexpr ControlState operator&(ControlState a, ControlState b) {
    return static_cast<ControlState>(static_cast<std::uint32_t>(a) & static_cast<std::uint32_t>(b));
}
constexpr ControlState operator~(ControlState a) {
    return static_cast<ControlState>(~static_cast<std::uint32_t>(a));
}
// Any of `bits` is set in `state`.
constexpr bool Has(ControlState state, ControlState bits) {
    return (state & bits) != ControlState::kNone;
}

}  // namespace velora
