#pragma once

#include <windows.h>

#include "ui/control_state.h"

#include <cstdint>

namespace velora {

class CBkWindow;

// What a pointer tracker reports about a control. The first seven are in the
// order of the list notification codes; kMove comes last.
enum class PointerEvent : int {
    kHover = 0,  // the pointer entered the control
    kLButtonDown = 1,
    kClick = 2,  // released over the control that took the press
    kRButtonDown = 3,
    kRButtonUp = 4,  // released (with a right press: over the control that took it)
    kLeave = 5,      // the pointer left it, or a press ended away from it
    kDoubleClick = 6,
    kMove = 7,  // every move over the hovered control
};

// Where the host window and the lists treat the pointer differently.
struct PointerRules {
    // A disabled control under the pointer is the hovered one: it reports
    // moves but gets no hover bit, no messages and no leave. Otherwise it is
    // passed over like empty space.
    bool disabledHovers = false;
    // A press makes the pressed control the hovered one.
    bool pressHovers = false;
    // A control without an id reports no click, and no leave when a press
    // ends away from it (it then stays the hovered control).
    bool silentWithoutId = false;
};

// What differs between the users of a PointerTracker.
class IPointerSink {
  public:
    // The control under `point`, or null.
    virtual CBkWindow* ControlAt(POINT point) = 0;
    virtual void Report(PointerEvent event, CBkWindow& control) = 0;
    // Changes the control's state bits and repaints it as its look asks.
    virtual void ChangeState(CBkWindow& control, ControlState add, ControlState remove) = 0;
    // `control` became the hovered control (the tool tip follows it).
    virtual void HoverChanged(CBkWindow& /*control*/) {}
    // A left press on an enabled control (`left`) or a right press is about
    // to be held; false refuses the left press.
    virtual bool HoldPointer(bool /*left*/) { return true; }
    // Opens the `href` of a clicked control; false: the click is reported instead.
    virtual bool OpenLink(const CBkWindow& /*control*/) { return false; }

  protected:
    ~IPointerSink() = default;
};

// Hover, press and click tracking over controls without windows of their
// own: the host window's sections, or the children of a list or list item.
// Points are in the frame the controls are placed in and reach them in that
// frame. Controls are kept as handles and looked up again after every
// message and report, since a handler may destroy them.
class PointerTracker {
  public:
    PointerTracker(IPointerSink& sink, PointerRules rules) : sink_(sink), rules_(rules) {}
    PointerTracker(const PointerTracker&) = delete;
    PointerTracker& operator=(const PointerTracker&) = delete;

    // A held press takes every move; otherwise hover follows the pointer.
    // `overContent` false: the pointer is over no control (a window border).
    void Move(POINT point, WPARAM keys, bool overContent = true);
    // Left press on the enabled control under the point.
    void Press(POINT point, WPARAM keys);
    // Ends the left press: a click over the pressed control, a leave elsewhere.
    void Release(POINT point, WPARAM keys);
    // Right press on the control under the point, disabled or not.
    void RightPress(POINT point, WPARAM keys);
    // A right click when released over the control that took the right press.
    void RightRelease(POINT point, WPARAM keys);
    // Passes `message` to the control under the point and reports `event`.
    void Forward(UINT message, PointerEvent event, POINT point, WPARAM keys);
    // A click without the pointer (keyboard, screen reader): the press and
    // release of a left click at the control's centre, with the same messages
    // and reports, the pointer held by nobody. False when the control is
    // disabled or a press is already held.
    bool Activate(CBkWindow& control);
    // The pointer left: hover and press end. False when no control was left.
    bool Leave();
    // The press ends without a click (the capture was taken away).
    void CancelPress();
    // Drops every control without telling it (the tree was replaced).
    void Forget() { hovered_ = pressed_ = 0; }

    std::int32_t HoveredHandle() const { return hovered_; }
    std::int32_t PressedHandle() const { return pressed_; }
    std::int32_t RightPressedHandle() const { return rightPressed_; }
    // Null when none (or when the control is gone).
    CBkWindow* Hovered() const;

  private:
    void MoveOver(CBkWindow& hit, POINT point, WPARAM keys);
    // The hovered control `handle` loses the hover; `overNothing`: the
    // pointer is over no control now.
    void LeaveHovered(std::int32_t handle, bool overNothing);
    // Ends the held left press: a click when `underHandle` is the pressed control.
    void EndPress(POINT point, WPARAM keys, std::int32_t underHandle);
    void Click(CBkWindow& control);
    void EndPressAway(CBkWindow& control);
    void ReportIfAlive(PointerEvent event, std::int32_t handle);

    IPointerSink& sink_;
    const PointerRules rules_;
    std::int32_t hovered_ = 0;
    std::int32_t pressed_ = 0;
    std::int32_t rightPressed_ = 0;
};

// Opens the control's `href` with the shell's "open" verb.
void OpenControlLink(HWND owner, const CBkWindow& control);

}  // namespace velora
