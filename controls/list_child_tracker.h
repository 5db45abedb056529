#pragma once

#include <windows.h>

#include <cstdint>

namespace velora {

class CBkWindow;

// The mouse events a list or list item reports about one of its children,
// in the order of their codes.
enum class ListEvent : int {
    kHover = 0,
    kLButtonDown = 1,
    kClick = 2,
    kRButtonDown = 3,
    kRButtonUp = 4,
    kLeave = 5,
    kDoubleClick = 6,
};

// Hover and press tracking among the children of a list or a list item,
// which route the mouse to their children themselves. Points are in the
// frame the children are placed in; children get them in that frame too.
class ListChildTracker {
  public:
    virtual ~ListChildTracker() = default;

    void RouteMouseMove(POINT point, WPARAM keys);
    void RouteLButtonDown(POINT point, WPARAM keys);
    void RouteLButtonUp(POINT point, WPARAM keys);
    void RouteRButtonDown(POINT point, WPARAM keys);
    void RouteRButtonUp(POINT point, WPARAM keys);
    void RouteDoubleClick(POINT point, WPARAM keys);
    // The pointer left the container: hover and press end.
    void RouteMouseLeave();

    // Null when none (or when the child is gone).
    CBkWindow* HoverChild() const;
    CBkWindow* PressedChild() const;

  protected:
    // The child under `point`: visible, not transparent; null over none.
    virtual CBkWindow* ChildAt(POINT point) = 0;
    virtual void ReportEvent(ListEvent event, CBkWindow& child) = 0;
    // The hover child changed: the host's tool tip follows the container's.
    virtual void ReportToolTip() = 0;
    // True: a click on a child with `href` opens the link instead of being reported.
    virtual bool OpensLinks() const = 0;

  private:
    void Leave(CBkWindow& child);

    std::int32_t hover_ = 0;
    std::int32_t pressed_ = 0;
};

// Sends the list notification (code 14) for `list` to its host window.
// `child` is the item's child for item-level events, else null.
void SendListNotify(const CBkWindow& list, int event, int itemIndex, const CBkWindow& control,
                    const CBkWindow* child);

}  // namespace velora
