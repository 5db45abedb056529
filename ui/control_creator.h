#pragma once

#include <memory>

namespace velora {

class CBkWindow;

// Turns a markup tag into a new, default-constructed control. Tags are
// compared byte for byte, case-sensitively.
class IBkControlCreator {
  public:
    virtual ~IBkControlCreator() = default;
    // A new control for `tag`, or null when the tag is unknown.
    virtual std::unique_ptr<CBkWindow> CreateControl(const char* tag) = 0;
};

}  // namespace velora
