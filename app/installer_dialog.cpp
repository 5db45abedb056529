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

}  // namespace velora
