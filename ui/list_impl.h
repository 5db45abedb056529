#pragma once

#include <windows.h>

namespace velora {

class CBkWindow;

// What the host needs of a list window to change its items at run time,
// without knowing the list's own class.
class CBkListImpl {
  public:
    virtual ~CBkListImpl() = default;

    virtual int ItemCount() const = 0;
    // Item `index` (0-based), or null outside the items.
    virtual CBkWindow* ItemAt(int index) const = 0;
    // `rect`, given in the frame `control` (inside the list) is placed in,
    // as host client coordinates clipped to the list.
    virtual RECT MapToHost(const CBkWindow& control, const RECT& rect) const = 0;
};

}  // namespace velora
