#pragma once

#include <windows.h>

#include "ui/control_state.h"
#include <uxtheme.h>

#include <cstdint>

namespace velora {

// Themed drawing through uxtheme.dll, used only when the process already has
// that library loaded: the entry points are looked up once, at the first
// use, and kept; when the library was not loaded then, themes stay off.
class VisualStyles {
  public:
    // The bound functions, or null when themes are off for this process.
    static const VisualStyles* Get();

    HTHEME Open(const wchar_t* classList) const;
    void Close(HTHEME theme) const;
    bool DrawBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect) const;

  private:
    using OpenFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
    using CloseFn = HRESULT(WINAPI*)(HTHEME);
    using DrawBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

    OpenFn open_ = nullptr;
    CloseFn close_ = nullptr;
    DrawBackgroundFn drawBackground_ = nullptr;
    SetWindowThemeFn setWindowTheme_ = nullptr;

    friend class VisualStylesBinding;
};

// The "BUTTON" theme of one control, opened on first use and closed with
// the owner. Stays closed (frame-control drawing) when themes are off.
class ButtonTheme {
  public:
    ButtonTheme() = default;
    ~ButtonTheme();
    ButtonTheme(const ButtonTheme&) = delete;
    ButtonTheme& operator=(const ButtonTheme&) = delete;

    // The open theme, opening it if needed; null when none can be had.
    HTHEME Acquire();

  private:
    HTHEME theme_ = nullptr;
};

// Theme parts and the look of a check box or radio button glyph.
enum class ToggleGlyph { kCheckBox, kRadioButton };

// Theme state: checked 8 disabled, 7 pushed, 6 hovered, 5 normal; unchecked
// 4, 3, 2, 1 in the same order.
int ToggleThemeState(ControlState state, bool disabled);
// DrawFrameControl flags: transparent button of the glyph's kind, plus
// inactive, hot, pushed and checked from the state.
UINT ToggleFrameFlags(ToggleGlyph glyph, ControlState state, bool disabled);

// Draws the glyph into `box`, themed when `theme` can be opened, otherwise
// with DrawFrameControl.
void DrawToggleGlyph(HDC dc, const RECT& box, ToggleGlyph glyph, ControlState state, bool disabled,
                     ButtonTheme& theme);

}  // namespace velora
