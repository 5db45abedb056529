#pragma once

#include <windows.h>

#include "controls/skin_shadow_hook.h"
#include "ui/host_window.h"

namespace velora {

// Holds the shadow picture apart from the host so that it is made before the
// host's shadow window and outlives it (bases go in reverse order).
struct DialogShadowPicture {
    SkinShadowHook shadowPicture;
};

// What every installer window shares: the engine's control tiers, a drop
// shadow 5 pixels wide drawn from the "mainwnd_shadow" skin, no frame overlay,
// and one meaning for closing. Dialogs chain their message maps to this one.
class CInstallerDialog : private DialogShadowPicture, public CBkDialogViewImplEx {
  public:
    static constexpr int kShadowSize = 5;

    explicit CInstallerDialog(UINT layoutId);

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

  protected:
    // What the window's own close button does. Escape, Alt+F4, the taskbar,
    // the system menu and a WM_CLOSE from another program all come here
    // instead of destroying the window whatever it is doing.
    virtual void OnCloseRequest() = 0;
};

}  // namespace velora
