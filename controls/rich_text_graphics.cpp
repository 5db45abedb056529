#include "controls/rich_text_graphics.h"

#include "controls/rich_text_gdi_graphics.h"
#include "controls/rich_text_gdiplus_graphics.h"
#include "markup/font_pool.h"
#include "markup/style_pool.h"
#include "ui/bk_window.h"

namespace velora {

RichRect FitMeasuredString(const RichTextExtent& extent, const RichRect& rect, UINT textMode) {
    RichRect fitted = rect;
    fitted.right = rect.left + extent.width;
    const float height = rect.Height();
    if (height != 0 && height > extent.height) {
        if (textMode & DT_BOTTOM) {
            fitted.top = rect.bottom - extent.height;
        } else if (textMode & DT_VCENTER) {
            // Whole pixels, so centred runs of one line share a baseline.
            fitted.top += static_cast<float>(static_cast<int>((height - extent.height) * 0.5f));
        }
    }
    fitted.bottom = fitted.top + extent.height;
    return fitted;
}

RichTextLook ChooseRichTextLook(const BkStyle& style, ControlState state) {
    RichTextLook look;
    COLORREF color = kNoColor;
    HFONT font = nullptr;
    if (Has(state, ControlState::kDisabled)) {
        color = style.crDisabled;
    } else if (Has(state, ControlState::kHover | ControlState::kPushed)) {
        color = style.crHover;
        font = style.hoverFont;
        look.background = style.crBgHover;
    } else {
        color = style.crText;
        font = style.font;
        look.background = style.crBg;
    }
    if (color == kNoColor) {
        color = style.crText;
    }
    look.text = color != kNoColor ? color : RGB(0, 0, 0);
    look.font = font != nullptr ? font : BkFontPool::Instance().GetFont(0);
    return look;
}

std::unique_ptr<IRichTextGraphics> CreateRichTextGraphics(HDC dc, const BkStyle& style,
                                                          ControlState state) {
    if (dc == nullptr) {
        return nullptr;
    }
    const RichTextLook look = ChooseRichTextLook(style, state);
    if (style.gdiplus) {
        return CRichTextGdiPlusGraphics::Create(dc, style, state, look);
    }
    return std::make_unique<CRichTextGdiGraphics>(dc, style.textMode, look);
}

}  // namespace velora
