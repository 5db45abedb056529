#pragma once

#include <windows.h>

#include <string>

namespace velora {

class CBkWindow;
class CBkWindowImpl;

// The host window's tool tip: one `tooltips_class32` window that watches the
// whole host window as one tool and shows the hovered control's tip. The tip
// window (and the common controls' classes) are made when a control with a
// tip is first hovered: most windows never show one.
class CBkHostToolTip {
  public:
    // `window` must outlive the tool tip.
    explicit CBkHostToolTip(const CBkWindowImpl& window) : window_(window) {}

    // WM_DESTROY: the tip window is destroyed with its owner.
    void Detach() {
        toolTip_ = nullptr;
        detached_ = true;
    }

    // Passes a mouse message on to the tip.
    void Relay(UINT message, WPARAM wParam, LPARAM lParam);
    // A mouse move reaches the host; `entering`: the first move into the
    // window. Relays it when the tip needs it and remembers it.
    void OnMove(WPARAM keys, LPARAM lParam, bool entering);
    // The hovered control changed during the current move: `text` is its tip.
    void FollowHover(const std::wstring& text);
    // A control changes the tip while it is hovered (kMsgSetToolTipText).
    void SetText(const wchar_t* text);
    // Answers the tip's request for text with `hovered`'s tip; false when
    // `header` is not that request.
    bool AnswerTextRequest(const NMHDR& header, LPARAM lParam, const CBkWindow* hovered) const;

  private:
    // Makes the tip window once; false when there is none.
    bool EnsureCreated();
    bool IsShown() const;
    void UpdateText(const wchar_t* text);

    const CBkWindowImpl& window_;
    HWND toolTip_ = nullptr;  // owned by the host window
    bool detached_ = false;   // the host window is gone: no new tip window
    std::wstring text_;       // what the tip shows now
    bool moveRelayed_ = false;
    WPARAM moveKeys_ = 0;
    LPARAM moveLParam_ = 0;
};

}  // namespace velora
