#include "markup/skin_base.h"

namespace velora {

void CBkSkinBase::Draw(HDC, const RECT&, int) {}

void CBkSkinBase::DrawPart(gdip::GpGraphics*, const RECT&, const RECT&,
                           const gdip::GpImageAttributes*) {}

void CBkSkinBase::DrawRotated(HDC, const POINT (&)[3], const RECT&) {}

void CBkSkinBase::DrawPartAlpha(HDC, const RECT&, const RECT&, int) {}

void CBkSkinBase::DrawPartScaled(HDC, const RECT&, const RECT&) {}

void CBkSkinBase::DrawTiled(HDC, const RECT&) {}

void CBkSkinBase::DrawGray(HDC, const RECT&, const RECT&) {}

void CBkSkinBase::DrawMirrored(HDC, const RECT&) {}

SIZE CBkSkinBase::GetSkinSize() {
    return {0, 0};
}

bool CBkSkinBase::IgnoreState() {
    return false;
}

bool CBkSkinBase::LoadPicture() {
    return false;
}

}  // namespace velora
