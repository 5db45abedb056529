#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/gdi_scopes.h"
#include "base/win_handles.h"

namespace velora {

class CBkHostPainter;
class CBkHostPointer;
class CBkLayoutSections;
class CBkWindow;
class CBkWindowImpl;

// Whether the thread's last input was a key (else a mouse button): a window
// opened from the keyboard shows its focus cue at once.
void NoteInput(bool keyboard);

// The keyboard focus of a host window among its window-less controls and the
// native windows behind their placeholders: the tab order (the sections'
// tab stops in document order), the keys that move and use the focus, the
// focus cue and its UI state (UISF_HIDEFOCUS), and keeping the focus when
// controls are hidden, disabled or moved. Controls are kept by handle.
class CBkHostFocus {
  public:
    // All must outlive the focus part.
    CBkHostFocus(const CBkWindowImpl& window, CBkLayoutSections& sections, CBkHostPainter& painter,
                 CBkHostPointer& pointer);

    // ---- Where the focus is -----------------------------------------------------
    // The window-less control with the focus; 0 when none has it or a native
    // child window does.
    std::int32_t Focused() const;
    // Moves the focus to a tab stop that can take it now, as Tab would;
    // false (nothing changes) otherwise.
    bool FocusControl(std::int32_t handle);
    // Tab (or Shift+Tab): the next (previous) tab stop, wrapping.
    bool Move(bool backward);
    // Whether the cue is drawn when a window-less control has the focus.
    bool CueShown() const { return cueShown_; }

    // ---- Life -------------------------------------------------------------------
    // The window was made: the default button has the focus, else the body's
    // first tab stop; the cue shows when the window came from the keyboard.
    void Start();
    // Controls were shown, hidden, enabled or moved: Check runs once the
    // message that changed them is done.
    void ScheduleCheck();
    // A focused control that can no longer take the focus passes it to the
    // default button, else to the next tab stop. Until the user moves it, a
    // focus passed on goes back to a default button that can take it again
    // (a page switch and back).
    void Check();
    // The layout was replaced: its controls are gone.
    void Forget();

    // ---- Window messages -----------------------------------------------------------
    // WM_SETFOCUS: false when the window has no tab stop, so the system's
    // dialog rules place the focus.
    bool OnSetFocus();
    void OnKillFocus();
    void OnUpdateUiState(WPARAM wParam);
    // A left press (on `pressed`, 0: none) takes the focus and hides the cue.
    void OnPointerPress(std::int32_t pressed);
    // A key for the window or one of its children; true when it was used.
    bool TranslateKey(const MSG& message);

    // Draws the cue around the focused control when it meets `region` (null: always).
    void Paint(HDC dc, HRGN region);

  private:
    std::vector<std::int32_t> Stops() const;
    bool CanFocus(const CBkWindow& control) const;
    bool CanFocus(std::int32_t handle) const;
    // The tab stop holding the focus now (a native window's placeholder when
    // the focus is in that window).
    std::int32_t Current() const;
    // The first stop that can take the focus `step` places from `from`
    // (from either end when `from` is not a stop), wrapping; 0 when none.
    std::int32_t Next(std::int32_t from, int step) const;
    std::int32_t DefaultButton() const;
    void SetFocusTo(std::int32_t handle);
    bool Activate(std::int32_t handle);
    bool OnArrow(CBkWindow& control, UINT key);
    void OnEnter();
    void InvalidateCue() const;
    // Asks the window to show (or hide) focus cues, as the system does.
    void ChangeCue(bool show) const;

    const CBkWindowImpl& window_;
    CBkLayoutSections& sections_;
    CBkHostPainter& painter_;
    CBkHostPointer& pointer_;
    std::int32_t focused_ = 0;
    bool displaced_ = false;  // the focus was passed on, not moved by the user
    bool hasFocus_ = false;   // the host window itself has the keyboard focus
    bool cueShown_ = false;
    bool checkPending_ = false;
    ScopedBitmap cuePattern_;
    ScopedBrush cueBrush_;
};

}  // namespace velora
