#include "controls/rich_text_gdiplus_graphics.h"

#include <algorithm>
#include <cmath>

#include "markup/style_pool.h"
#include "ui/bk_window.h"
#include "ui/text_painter.h"

namespace velora {
namespace {

constexpr float kMeasureArea = 10000.0f;

// GDI+ must be started before any text is drawn with it; kept for the process.
bool GdiplusReady() {
    static gdip::Session session;
    return session.IsStarted() && gdip::Functions() != nullptr;
}

gdip::ARGB ToArgb(COLORREF color, int alpha) {
    return (static_cast<gdip::ARGB>(alpha) << 24) |
           (static_cast<gdip::ARGB>(GetRValue(color)) << 16) |
           (static_cast<gdip::ARGB>(GetGValue(color)) << 8) | GetBValue(color);
}

gdip::ScopedBrush SolidBrush(gdip::ARGB color) {
    gdip::ScopedBrush brush;
    if (gdip::Functions()->GdipCreateSolidFill(color, brush.Receive()) != gdip::kOk) {
        brush.Release();  // a failed call leaves nothing to delete
    }
    return brush;
}

gdip::ScopedStringFormat NewStringFormat() {
    gdip::ScopedStringFormat format;
    if (gdip::Functions()->GdipCreateStringFormat(0, LANG_NEUTRAL, format.Receive()) != gdip::kOk) {
        format.Release();
    }
    return format;
}

}  // namespace

std::unique_ptr<CRichTextGdiPlusGraphics> CRichTextGdiPlusGraphics::Create(
    HDC dc, const BkStyle& style, ControlState state, const RichTextLook& look) {
    if (!GdiplusReady()) {
        return nullptr;
    }
    const gdip::Api* api = gdip::Functions();
    std::unique_ptr<CRichTextGdiPlusGraphics> graphics(
        new CRichTextGdiPlusGraphics(dc, style.textMode));
    graphics->graphics_ = gdip::GraphicsOnDc(dc);
    LOGFONTW logFont = {};
    if (!graphics->graphics_ || look.font == nullptr ||
        ::GetObjectW(look.font, sizeof(logFont), &logFont) == 0 ||
        api->GdipCreateFontFromLogfontW(dc, &logFont, graphics->font_.Receive()) != gdip::kOk) {
        return nullptr;
    }
    graphics->textBrush_ = SolidBrush(ToArgb(look.text, GdiplusTextAlpha(-1, style.alphaText)));
    const bool plain =
        !Has(state, ControlState::kHover | ControlState::kPushed | ControlState::kDisabled);
    if (plain && look.background != kNoColor) {
        graphics->backgroundBrush_ =
            SolidBrush(ToArgb(look.background, std::clamp(style.alphaBackground, 0, 255)));
    }
    graphics->drawFormat_ = NewStringFormat();
    graphics->measureFormat_ = NewStringFormat();
    if (!graphics->textBrush_ || !graphics->drawFormat_ || !graphics->measureFormat_) {
        return nullptr;
    }
    // Single-line text maps to GDI+'s line limit, as "textmodeex" 0x20 does.
    const GdiplusTextFormat format =
        MakeGdiplusTextFormat(style.textMode, (style.textMode & DT_SINGLELINE) ? 0x20u : 0u);
    api->GdipSetStringFormatAlign(graphics->drawFormat_.Get(), format.align);
    api->GdipSetStringFormatLineAlign(graphics->drawFormat_.Get(), format.lineAlign);
    if (format.flags != 0) {
        api->GdipSetStringFormatFlags(graphics->drawFormat_.Get(), format.flags);
    }
    if (format.trimming >= 0) {
        api->GdipSetStringFormatTrimming(graphics->drawFormat_.Get(), format.trimming);
    }
    api->GdipSetStringFormatAlign(graphics->measureFormat_.Get(), gdip::kStringAlignmentNear);
    return graphics;
}

void CRichTextGdiPlusGraphics::DrawString(const wchar_t* text, int length, const RichRect& rect) {
    const gdip::RectF layout = {rect.left, rect.top, rect.Width(), rect.Height()};
    gdip::Functions()->GdipDrawString(graphics_.Get(), text, length, font_.Get(), &layout,
                                      drawFormat_.Get(), textBrush_.Get());
}

RichTextExtent CRichTextGdiPlusGraphics::MeasureString(const wchar_t* text, int length) {
    const gdip::RectF layout = {0.0f, 0.0f, kMeasureArea, kMeasureArea};
    gdip::RectF box = {};
    if (length <= 0 || gdip::Functions()->GdipMeasureString(
                           graphics_.Get(), text, length, font_.Get(), &layout,
                           measureFormat_.Get(), &box, nullptr, nullptr) != gdip::kOk) {
        return RichTextExtent{};
    }
    return RichTextExtent{box.width, box.height};
}

void CRichTextGdiPlusGraphics::FillBackground(const RichRect& rect) {
    if (!backgroundBrush_) {
        return;
    }
    // The integer fill covers every pixel the piece touches.
    const INT left = static_cast<INT>(std::floor(rect.left));
    const INT top = static_cast<INT>(std::floor(rect.top));
    const INT right = static_cast<INT>(std::ceil(rect.right));
    const INT bottom = static_cast<INT>(std::ceil(rect.bottom));
    gdip::Functions()->GdipFillRectangleI(graphics_.Get(), backgroundBrush_.Get(), left, top,
                                          right - left, bottom - top);
}

}  // namespace velora
