#pragma once

#include <windows.h>

#include <string>

#include "controls/skin_image_controls.h"
#include "ui/shadow_window.h"

namespace velora {

// The dialogs' drop-shadow picture: an "expendimg" control placed over the
// whole shadow bitmap ("0,0,-0,-0"), drawing a skin stretched with its
// borders kept. A dialog owns one and hands it to its host window with
// SetShadowPaintHook; it must outlive the host's shadow.
class SkinShadowHook : public IShadowPaintHook {
  public:
    static constexpr char kDialogShadowSkin[] = "mainwnd_shadow";
    static constexpr int kDialogShadowMargin = 6;

    explicit SkinShadowHook(const std::string& skin = kDialogShadowSkin,
                            int margin = kDialogShadowMargin);
    SkinShadowHook(const SkinShadowHook&) = delete;
    SkinShadowHook& operator=(const SkinShadowHook&) = delete;

    // Draws the picture over `rect`; always 0: the picture is this hook's,
    // even when the skin is missing (the shadow then stays clear).
    int PaintShadow(HDC dc, const RECT& rect) override;

    const CBkExpendImg& Picture() const { return picture_; }

  private:
    CBkExpendImg picture_;
};

}  // namespace velora
