#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "markup/bk_object.h"
#include "markup/position.h"
#include "ui/control_state.h"

namespace velora {

class BkStyle;

// `valign` / `align` codes.
inline constexpr std::uint32_t kVAlignTop = 0;
inline constexpr std::uint32_t kVAlignMiddle = 0x1000;
inline constexpr std::uint32_t kVAlignBottom = 0x2000;
inline constexpr std::uint32_t kAlignLeft = 0;
inline constexpr std::uint32_t kAlignCenter = 0x4000;
inline constexpr std::uint32_t kAlignRight = 0x8000;

// The base of every control: a window-less object with a rectangle in its host
// window's client area, attributes from markup, state bits and its own small
// message map. It refers to its parent only by handle, through the registry.
class CBkWindow : public CBkObject {
  public:
    CBkWindow();
    ~CBkWindow() override;

    // ---- Markup -----------------------------------------------------------
    // Text (with string references replaced), attributes, `show`, then the
    // size attributes when `pos` did not fix the size.
    bool Load(const TiXmlElement* element) override;
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    // ---- Tree -------------------------------------------------------------
    std::int32_t Handle() const { return handle_; }
    std::int32_t ParentHandle() const { return parentHandle_; }
    void SetParentHandle(std::int32_t parent) { parentHandle_ = parent; }
    // The parent control (registry lookup), or null.
    CBkWindow* Parent() const;
    HWND Host() const { return host_; }
    virtual void SetContainer(HWND host) { host_ = host; }
    virtual bool IsContainer() const { return false; }
    // Nothing in the base; containers pass it to every child.
    virtual void RelayHostEvent(UINT /*message*/, WPARAM, LPARAM) {}

    // ---- Identity and attributes ----------------------------------------
    std::int32_t Id() const { return id_; }
    const std::wstring& Text() const { return text_; }
    // Replaces the text and, for content-sized controls, re-measures.
    void SetText(const std::wstring& text);
    const std::string& StyleName() const { return className_; }
    // The style class named by `class` (the default record when unknown).
    const BkStyle& Style() const;
    const std::wstring& Href() const { return href_; }
    virtual const std::wstring& GetToolTipText() const { return tip_; }
    virtual bool AcceptsHeaderLButtonDown() const { return headAcceptLButtonDown_; }
    // ---- What the host asks of a control ------------------------------------
    // A left press on it in the header is its own instead of dragging the window.
    virtual bool TakesHeaderPress() const { return false; }
    // A double click on it in the header is its own instead of maximising.
    virtual bool TakesHeaderDoubleClick() const { return false; }
    // The second press of a fast double click is a press of its own.
    virtual bool DoubleClickIsPress() const { return false; }
    // It stands for the host's native child window with its id: that window
    // sets its own cursor and shows and hides with the control's container.
    virtual bool IsNativeWindowPlaceholder() const { return false; }
    // ---- What a screen reader is told -----------------------------------------
    // The role (ROLE_SYSTEM_*); 0 keeps the control out of what a screen
    // reader is shown (layout and decoration). The base: static text when it
    // has text, a graphic when it has only a name, else 0.
    virtual DWORD AccessibleRole() const;
    // `accname` from markup when given, else the name the control takes
    // from its content.
    std::wstring AccessibleName() const;
    // The current value ("37%"); empty when the control has none.
    virtual std::wstring AccessibleValue() const { return std::wstring(); }
    // What activating it does, in the UI's language; empty: it cannot be activated.
    virtual std::wstring AccessibleDefaultAction() const { return std::wstring(); }
    // Adds the shown controls a screen reader meets, in document order: the
    // base adds itself when it has a role; a container its children.
    virtual void CollectAccessible(std::vector<const CBkWindow*>& controls) const;

    // ---- The keyboard -----------------------------------------------------------
    // Space and Enter click it when it has the focus.
    virtual bool ActsOnClick() const { return false; }
    // Whether it takes the focus when markup says nothing (`tabstop`).
    virtual bool TabStopByDefault() const { return ActsOnClick(); }
    // `tabstop` as written, else the default above. It takes the focus only
    // while it is also visible and enabled.
    bool IsTabStop() const { return tabStop_ < 0 ? TabStopByDefault() : tabStop_ != 0; }
    // `default`: Enter presses it when no focused control acts on a click.
    bool IsDefaultButton() const { return default_; }
    // The native window that takes the keyboard focus in its place, or null.
    virtual HWND FocusWindow() const { return nullptr; }
    // The next member of its group `step` (+1, -1) away that may take the
    // focus, for the arrow keys; 0 when it has no group.
    virtual std::int32_t GroupNeighbour(int /*step*/) const { return 0; }
    // A navigation key (arrows, Page Up/Down, Home, End) while it has the
    // focus; true when the key was its own.
    virtual bool ScrollByKey(UINT /*key*/) { return false; }
    // Appends its tab stops in document order, hidden ones too: itself when
    // it is one; a container its children's otherwise.
    virtual void AppendTabStops(std::vector<std::int32_t>& stops) const;
    bool IsTransparent() const { return transparent_; }
    int NotifyMask() const { return notifyMask_; }
    std::uint32_t VAlign() const { return vAlign_; }
    std::uint32_t Align() const { return align_; }
    COLORREF OwnBackgroundColor() const { return crBg_; }
    COLORREF OwnTextColor() const { return crText_; }
    HFONT OwnFont() const { return font_; }
    int OwnTextAlpha() const { return alphaText_; }
    bool ForceUpdateStyle() const { return forceUpdateStyle_; }
    bool AutoFixTextRect() const { return autoFixTextRect_; }
    UINT CachedDrawFormat() const { return drawFormat_; }
    void SetCachedDrawFormat(UINT format) { drawFormat_ = format; }

    // ---- State --------------------------------------------------------------
    ControlState State() const { return state_; }
    // new = (old | add) & ~remove; returns the old state.
    virtual ControlState ModifyState(ControlState add, ControlState remove);
    // Neither it nor any ancestor is hidden.
    bool IsVisible() const;
    // It or an ancestor is disabled.
    bool IsDisabled() const;

    // ---- Geometry -----------------------------------------------------------
    const RECT& Rect() const { return rect_; }
    const ControlPosition& Position() const { return position_; }
    // The handle of the control under (x, y), or 0. Right and bottom edges excluded.
    virtual std::int32_t HitTest(int x, int y);

    // ---- Painting and input -------------------------------------------------
    virtual void SetControlCursor();
    // Whether a state change (hover, press) changes the look.
    virtual bool RedrawOnStateChange();
    // Background and content, when the rectangle meets `region` (null: always).
    virtual bool RedrawRegion(HDC dc, HRGN region);
    virtual void DrawBackground(HDC dc);
    // The control's message map. Sets `result`; true when handled.
    virtual bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result);
    // Clears the handled flag and runs HandleMessage; returns its result.
    LRESULT SendControlMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // ---- Typed calls: each is the one place that packs its message ------------
    // Gives the control its anchor point and available size (WM_WINDOWPOSCHANGED).
    void Place(const WINDOWPOS& placement);
    // The control's natural size within `available` (WM_NCCALCSIZE).
    SIZE NaturalSize(SIZE available);
    // Sends the control its content paint into `dc` (WM_PAINT).
    void Paint(HDC dc);
    // Shows or hides the control (WM_SHOWWINDOW).
    void SetShown(bool shown);
    bool MessageHandled() const { return messageHandled_; }

    // Sends the host a repaint request (code 1000) for the control's rectangle.
    void RequestRepaint() const;
    // The same for `rect` (part of the control, in the same coordinates).
    void RequestRepaint(const RECT& rect) const;

  protected:
    // The name when markup gives none: the text, else the tool tip.
    virtual std::wstring AccessibleNameFromContent() const;
    // Natural size for WM_NCCALCSIZE within `available`. The base answers the
    // size a four-item `pos` defines, otherwise the size of its text.
    virtual SIZE MeasureContent(SIZE available);
    // Content painting on WM_PAINT (background is already drawn): the text.
    virtual void PaintContent(HDC dc);
    // Takes (x, y, cx, cy) as the new placement: asks the natural size and
    // applies the full/fixed axis rules.
    void TakeNewPosition(const WINDOWPOS& placement);
    void SendSelfNotify(int subCode);
    // Clears the hidden bit when `show`, sets it otherwise.
    void ApplyShowFlag(bool show);
    void SetMessageHandled(bool handled) { messageHandled_ = handled; }
    RECT& MutableRect() { return rect_; }

  private:
    std::int32_t handle_;
    std::int32_t parentHandle_ = 0;
    HWND host_ = nullptr;
    std::int32_t id_ = 0;
    RECT rect_ = {};
    ControlPosition position_;
    std::wstring text_;
    ControlState state_ = ControlState::kNone;
    std::uint32_t vAlign_ = kVAlignTop;
    std::uint32_t align_ = kAlignLeft;
    std::wstring href_;
    bool transparent_ = false;
    std::wstring tip_;
    std::wstring accName_;
    std::string className_;
    COLORREF crBg_ = static_cast<COLORREF>(-1);
    COLORREF crText_ = static_cast<COLORREF>(-1);
    HFONT font_ = nullptr;
    UINT drawFormat_ = 0;
    int alphaText_ = -1;
    bool headAcceptLButtonDown_ = false;
    bool forceUpdateStyle_ = false;
    bool autoFixTextRect_ = true;
    bool messageHandled_ = false;
    int notifyMask_ = 0;
    int tabStop_ = -1;  // -1: as the control's default
    bool default_ = false;
};

}  // namespace velora
