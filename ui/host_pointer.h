#pragma once

#include <windows.h>

#include "ui/control_state.h"

#include <cstdint>

#include "ui/pointer_tracker.h"

namespace velora {

class CBkHostPainter;
class CBkHostToolTip;
class CBkLayoutSections;
class CBkWindow;
class CBkWindowImpl;

// The host window's mouse input: hover, press and click among the sections'
// controls (records to the dialog), the mouse capture, the window's own
// border (sizing cursors and sizing) and dragging the window by its header.
class CBkHostPointer : private IPointerSink {
  public:
    // All must outlive the pointer.
    CBkHostPointer(const CBkWindowImpl& window, CBkLayoutSections& sections,
                   CBkHostPainter& painter, CBkHostToolTip& toolTip);

    // Mouse messages with their own wParam and lParam.
    void OnMouseMove(WPARAM keys, LPARAM lParam);
    void OnLButtonDown(WPARAM keys, LPARAM lParam);
    void OnLButtonUp(WPARAM keys, LPARAM lParam);
    void OnLButtonDoubleClick(WPARAM keys, LPARAM lParam);
    void OnRButtonDown(WPARAM keys, LPARAM lParam);
    void OnRButtonUp(WPARAM keys, LPARAM lParam);
    void OnMouseLeave();
    // The capture went to `owner`: a press held by the host ends without a click.
    void OnCaptureChanged(HWND owner);
    // The wheel goes to the hovered control; its answer, 0 without one.
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    // Remembers which border the screen point `lParam` lies in, for the
    // cursor and for sizing.
    void OnNcHitTest(LPARAM lParam);
    // False: the cursor is left to Windows.
    bool OnSetCursor();
    // A click on `control` without the mouse (keyboard, screen reader): the
    // same records as a mouse click. False while the mouse holds a press.
    bool Activate(CBkWindow& control) { return !captured_ && tracker_.Activate(control); }
    // The layout was replaced: its controls are gone.
    void Forget() { tracker_.Forget(); }

    CBkWindow* Hovered() const { return tracker_.Hovered(); }
    std::int32_t HoveredHandle() const { return tracker_.HoveredHandle(); }
    std::int32_t PressedHandle() const { return tracker_.PressedHandle(); }

  private:
    // A press in the header on a control that does not take it drags the
    // window; true when it did.
    bool DragByHeader(POINT point);
    void ReleaseMouse();
    int BorderHitCode(POINT client) const;
    void Notify(UINT code, const CBkWindow* control, const char* classTag = nullptr) const;

    // IPointerSink
    CBkWindow* ControlAt(POINT point) override;
    void Report(PointerEvent event, CBkWindow& control) override;
    void ChangeState(CBkWindow& control, ControlState add, ControlState remove) override;
    void HoverChanged(CBkWindow& control) override;
    bool HoldPointer(bool left) override;
    bool OpenLink(const CBkWindow& control) override;

    const CBkWindowImpl& window_;
    CBkLayoutSections& sections_;
    CBkHostPainter& painter_;
    CBkHostToolTip& toolTip_;
    PointerTracker tracker_;
    bool captured_ = false;
    bool trackingLeave_ = false;
    int hitCode_ = HTCLIENT;
};

}  // namespace velora
