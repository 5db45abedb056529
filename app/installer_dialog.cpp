#include "app/installer_dialog.h"

#include <memory>

#include "controls/control_factory.h"

namespace velora {

CInstallerDialog::CInstallerDialog(UINT layoutId)
    : CBkDialogViewImplEx(layoutId, &CBkStandardTier::Instance(),
                          std::make_unique<CBkControlCreator>()) {
    SetShadowEnabled(true);
    SetShadowSize(kShadowSize);
    SetShadowPaintHook(&shadowPicture);
    SetOverlay(false);
}

bool CInstallerDialog::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            LRESULT& result) {
    // SC_CLOSE is taken here too, not left to become a WM_CLOSE: one request
    // per Alt+F4, and no window whose close means something else is destroyed.
    // Escape (IDCANCEL from the dialog keys) is the close button as well.
    const bool escape = message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && lParam == 0;
    if (message == WM_CLOSE || escape ||
        (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)) {
        // A window disabled under a question of its own cannot be closed by
        // its button either: the question is answered first.
        if (::IsWindowEnabled(window)) {
            OnCloseRequest();
        }
        result = 0;
        return true;
    }
    return CBkDialogViewImplEx::ProcessWindowMessage(window, message, wParam, lParam, result);
}

}  // namespace velora
