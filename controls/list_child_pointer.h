#pragma once

#include <windows.h>

#include "ui/control_state.h"

#include <cstdint>
#include <string>

#include "ui/pointer_tracker.h"

namespace velora {

class CBkWindow;

// Mouse routing among the children of a list or a list item, which route the
// mouse to their children themselves: the shared tracker with the lists'
// rules, repaint requests to the host, and the host's tool tip following the
// hover child.
class ListChildPointer : private IPointerSink {
  public:
    // `owner` is the list or item itself; it must outlive this object.
    explicit ListChildPointer(CBkWindow& owner) : owner_(owner), tracker_(*this, PointerRules{}) {}
    virtual ~ListChildPointer() = default;

    // Routes a mouse message whose point is in the frame the owner is placed
    // in; children get it in their own frame. False for any other message.
    bool RouteMouse(UINT message, WPARAM keys, LPARAM lParam);
    // Null when none (or when the child is gone).
    CBkWindow* HoverChild() const { return tracker_.Hovered(); }
    // The hover child's tip, or `own` when no child is hovered.
    const std::wstring& HoverChildTipOr(const std::wstring& own) const;
    // Sets the hover child's cursor; false when no child is hovered.
    bool SetHoverChildCursor() const;

  protected:
    // The child under `point`: visible, not transparent; null over none.
    virtual CBkWindow* ChildAt(POINT point) = 0;
    virtual void ReportEvent(PointerEvent event, CBkWindow& child) = 0;
    // True: a click on a child with `href` opens the link instead of being reported.
    virtual bool OpensLinks() const = 0;

  private:
    // IPointerSink
    CBkWindow* ControlAt(POINT point) override { return ChildAt(point); }
    void Report(PointerEvent event, CBkWindow& control) override;
    void ChangeState(CBkWindow& child, ControlState add, ControlState remove) override;
    void HoverChanged(CBkWindow& child) override;
    bool OpenLink(const CBkWindow& child) override;

    CBkWindow& owner_;
    PointerTracker tracker_;
};

// Sends the list notification (code 14) for `list` to its host window.
// `child` is the item's child for item-level events, else null.
void SendListNotify(const CBkWindow& list, int event, int itemIndex, const CBkWindow& control,
                    const CBkWindow* child);

}  // namespace velora
