#include "controls/rich_text_gdi_graphics.h"

#include "base/win_handles.h"
#include "markup/style_pool.h"

namespace velora {
namespace {

RECT TruncatedRect(const RichRect& rect) {
    return RECT{static_cast<LONG>(rect.left), static_cast<LONG>(rect.top),
                static_cast<LONG>(rect.right), static_cast<LONG>(rect.bottom)};
}

}  // namespace

CRichTextGdiGraphics::CRichTextGdiGraphics(HDC dc, UINT textMode, const RichTextLook& look)
    : dc_(dc),
      textMode_(textMode),
      background_(look.background),
      font_(dc, look.font),
      oldColor_(::SetTextColor(dc, look.text)) {}

CRichTextGdiGraphics::~CRichTextGdiGraphics() {
    if (oldColor_ != CLR_INVALID) {
        ::SetTextColor(dc_, oldColor_);
    }
}

void CRichTextGdiGraphics::DrawString(const wchar_t* text, int length, const RichRect& rect) {
    RECT target = TruncatedRect(rect);
    ::DrawTextW(dc_, text, length, &target, textMode_);
}

RichTextExtent CRichTextGdiGraphics::MeasureString(const wchar_t* text, int length) {
    SIZE size = {0, 0};
    if (length > 0 && !::GetTextExtentPoint32W(dc_, text, length, &size)) {
        size = {0, 0};
    }
    return RichTextExtent{static_cast<float>(size.cx), static_cast<float>(size.cy)};
}

void CRichTextGdiGraphics::FillBackground(const RichRect& rect) {
    if (background_ == kNoColor) {
        return;
    }
    const RECT target = TruncatedRect(rect);
    ScopedBrush brush(::CreateSolidBrush(background_));
    ::FillRect(dc_, &target, brush.Get());
}

}  // namespace velora
