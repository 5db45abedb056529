#pragma once

#include <windows.h>

#include <cstdint>

#include "base/window_scopes.h"
#include "ui/shadow_canvas.h"

namespace velora {

// Draws the picture of a host window's drop shadow.
class IShadowPaintHook {
  public:
    // Paints over `rect` (the whole shadow bitmap) in `dc`. 0 when drawn;
    // any other value asks for the default picture.
    virtual int PaintShadow(HDC dc, const RECT& rect) = 0;

  protected:
    ~IShadowPaintHook() = default;
};

// The skin of the default shadow picture.
inline constexpr char kDefaultShadowSkin[] = "dlg_shadow";

// The shadow picture for a host whose window rectangle is `hostRect`: a
// canvas `size` pixels larger on every side, painted by `hook`, or by the
// default picture when there is no hook or it declines. Invalid for an
// empty or oversized rectangle.
ShadowCanvas RenderShadowPicture(const RECT& hostRect, int size, IShadowPaintHook* hook);

// The drop shadow of one host window: a layered, click-through popup owned
// by the host, a little larger on every side, that follows the host through
// the host messages it is given.
class CShadowWnd {
  public:
    static constexpr wchar_t kClassName[] = L"BkShadowWndClass";
    static constexpr int kDefaultSize = 4;
    // State bits.
    static constexpr std::uint8_t kActive = 0x01;
    static constexpr std::uint8_t kShown = 0x02;
    static constexpr std::uint8_t kHostVisible = 0x04;

    CShadowWnd() = default;
    // Hides and destroys the shadow window.
    ~CShadowWnd();
    CShadowWnd(const CShadowWnd&) = delete;
    CShadowWnd& operator=(const CShadowWnd&) = delete;

    // ---- Set-up -----------------------------------------------------------
    // Pixels the shadow extends beyond the host on each side (negative: 0).
    void SetShadowSize(int size) { size_ = size < 0 ? 0 : size; }
    int ShadowSize() const { return size_; }
    // Null: the default picture.
    void SetPaintHook(IShadowPaintHook* hook) { hook_ = hook; }
    // Creates the shadow window for `host`, once. True when it exists.
    bool Create(HWND host);

    // ---- Following the host ----------------------------------------------
    // Follows WM_DESTROY, WM_MOVE, WM_SIZE, WM_PAINT, WM_SHOWWINDOW,
    // WM_MOVING and WM_EXITSIZEMOVE of `host`. True when the message is one
    // of those and the shadow exists; the host handles it as usual anyway.
    bool OnHostMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam);
    // Recomputes visibility from the host's and repaints when shown.
    void Refresh(HWND host);

    // ---- State --------------------------------------------------------------
    HWND Handle() const { return window_.Get(); }
    HWND Parent() const { return parent_; }
    bool IsCreated() const { return created_; }
    bool IsMoving() const { return moving_; }
    bool IsShown() const { return (state_ & kShown) != 0; }
    std::uint8_t State() const { return state_; }

  private:
    void Repaint(HWND host);
    void Hide();
    void ShowWithoutActivating();
    void SetShown(bool shown);
    void OnSize(HWND host, WPARAM kind, LPARAM size);
    void Destroy();

    HWND parent_ = nullptr;
    ScopedWindow window_;
    bool moving_ = false;
    bool created_ = false;
    int size_ = kDefaultSize;
    std::uint8_t state_ = 0;
    LPARAM lastSize_ = 0;
    bool needsRepaint_ = false;
    IShadowPaintHook* hook_ = nullptr;
};

}  // namespace velora
