#include "ui/text_painter.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "base/gdi_scopes.h"
#include "markup/font_pool.h"
#include "markup/gdiplus_runtime.h"
#include "markup/style_pool.h"
#include "markup/system_library.h"
#include "ui/bk_window.h"

namespace velora {
namespace {

constexpr wchar_t kYaHeiChinese[] = L"\u5FAE\u8F6F\u96C5\u9ED1";  // 微软雅黑
constexpr wchar_t kYaHeiEnglish[] = L"Microsoft YaHei";
constexpr UINT kAlignmentBits = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;
constexpr int kShadowOffset = 2;
constexpr int kUnboundedHeight = 32767;
// Parent chains are short; this only stops a corrupt chain from looping.
constexpr int kMaxAncestors = 256;

using DrawShadowTextFn = int(WINAPI*)(HDC, LPCWSTR, UINT, RECT*, DWORD, COLORREF, COLORREF, int,
                                      int);

// Text lengths beyond INT_MAX cannot be passed to the drawing calls.
int TextLength(const std::wstring& text) {
    return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

// GDI+ must be started before any text is drawn with it; kept for the process.
bool GdiplusReady() {
    static gdip::Session session;
    return session.IsStarted();
}

gdip::ScopedFont GdiplusFontFromDc(HDC dc) {
    gdip::ScopedFont font;
    LOGFONTW logFont = {};
    HGDIOBJ selected = ::GetCurrentObject(dc, OBJ_FONT);
    if (selected == nullptr || ::GetObjectW(selected, sizeof(logFont), &logFont) == 0) {
        return font;
    }
    if (gdip::Functions()->GdipCreateFontFromLogfontW(dc, &logFont, font.Receive()) != gdip::kOk) {
        font.Release();  // a failed call leaves nothing to delete
    }
    return font;
}

int SizeStepOfSelectedFont(HDC dc) {
    return BkFontPool::Instance().GetSizeStep(static_cast<HFONT>(::GetCurrentObject(dc, OBJ_FONT)));
}

HFONT OwnOrStyleFont(const CBkWindow& control) {
    return control.OwnFont() != nullptr ? control.OwnFont() : control.Style().font;
}

}  // namespace

ScopedTextDc::ScopedTextDc(HDC dc, const CBkWindow& control) : dc_(dc) {
    const BkStyle& style = control.Style();
    textRect_ = control.Rect();
    ::InflateRect(&textRect_, -style.xMargin, -style.yMargin);

    if (!style.skin.empty()) {
        oldMode_ = ::SetBkMode(dc_, TRANSPARENT);
        modeChanged_ = oldMode_ != 0;
    }
    const COLORREF background =
        control.OwnBackgroundColor() != kNoColor ? control.OwnBackgroundColor() : style.crBg;
    if (background != kNoColor) {
        oldBkColor_ = ::SetBkColor(dc_, background);
        bkColorChanged_ = oldBkColor_ != CLR_INVALID;
    }

    font_ = OwnOrStyleFont(control);
    if (font_ == nullptr) {
        font_ = BkFontPool::Instance().GetFont(0);
    }
    COLORREF color = control.OwnTextColor() != kNoColor ? control.OwnTextColor() : style.crText;
    COLORREF stateColor = kNoColor;
    if (control.IsDisabled()) {
        stateColor = style.crDisabled;
    } else if (Has(control.State(), ControlState::kHover)) {
        stateColor = style.crHover;
        if (style.hoverFont != nullptr) {
            font_ = style.hoverFont;
        }
    }
    if (stateColor != kNoColor) {
        color = stateColor;
    }

    if (font_ != nullptr) {
        oldFont_ = ::SelectObject(dc_, font_);
        fontChanged_ = oldFont_ != nullptr && oldFont_ != HGDI_ERROR;
    }
    if (color != kNoColor) {
        oldColor_ = ::SetTextColor(dc_, color);
        colorChanged_ = oldColor_ != CLR_INVALID;
    }
}

ScopedTextDc::~ScopedTextDc() {
    if (fontChanged_) {
        ::SelectObject(dc_, oldFont_);
    }
    if (colorChanged_) {
        ::SetTextColor(dc_, oldColor_);
    }
    if (modeChanged_) {
        ::SetBkMode(dc_, oldMode_);
    }
    if (bkColorChanged_) {
        ::SetBkColor(dc_, oldBkColor_);
    }
}

bool IsYaHeiFace(const std::wstring& face) {
    return face == kYaHeiChinese || face == kYaHeiEnglish;
}

RECT CorrectTextRect(RECT rect, UINT format, const std::wstring& face, int step, int baseHeight,
                     bool autoFix) {
    if (!IsYaHeiFace(face)) {
        return rect;
    }
    const int height = std::abs(baseHeight);
    if (format & DT_BOTTOM) {
        const LONG originalTop = rect.top;
        ::OffsetRect(&rect, 0, -(2 * step + 2));
        if (autoFix) {
            const int minimum = height + 3 * step + 4;
            if (rect.bottom - rect.top < minimum) {
                rect.bottom = rect.top + minimum;
            }
            if (rect.bottom - height - step - 3 < originalTop) {
                rect.bottom = originalTop + height + step + 3;
            }
        }
    } else if (!(format & DT_VCENTER)) {
        ::OffsetRect(&rect, 0, -(3 * step + 3));
    }
    return rect;
}

RECT CorrectFixedFormatRect(RECT rect, UINT format, const std::wstring& face, int step,
                            int baseHeight) {
    if (!IsYaHeiFace(face)) {
        return rect;
    }
    if (format & DT_BOTTOM) {
        ::OffsetRect(&rect, 0, -(2 * step + 2));
    } else if (!(format & DT_VCENTER)) {
        ::OffsetRect(&rect, 0, -(3 * step + 3));
    } else {
        return rect;
    }
    const int minimum = std::abs(baseHeight) + 3 * step + 4;
    if (rect.bottom - rect.top < minimum) {
        rect.bottom = rect.top + minimum;
    }
    return rect;
}

void DrawTextWithShadow(HDC dc, const std::wstring& text, RECT rect, UINT format,
                        COLORREF textColor, COLORREF shadow, const wchar_t* library) {
    // Looked up per call; only System32 is searched so no planted copy loads.
    const ScopedModule module = LoadSystemLibrary(library);
    if (module) {
        const auto draw = reinterpret_cast<DrawShadowTextFn>(
            reinterpret_cast<void*>(::GetProcAddress(module.Get(), "DrawShadowText")));
        RECT target = rect;
        if (draw != nullptr && draw(dc, text.c_str(), static_cast<UINT>(TextLength(text)), &target,
                                    format, textColor, shadow, kShadowOffset, kShadowOffset) != 0) {
            return;
        }
    }
    ::DrawTextW(dc, text.c_str(), TextLength(text), &rect, format);
}

void DrawFixedFormatText(HDC dc, const std::wstring& text, const RECT& rect, UINT format,
                         bool shadow, COLORREF textColor, COLORREF shadowColor) {
    const BkFontPool& pool = BkFontPool::Instance();
    RECT target = CorrectFixedFormatRect(rect, format, pool.BaseFace(), SizeStepOfSelectedFont(dc),
                                         pool.BaseHeight());
    if (shadow) {
        DrawTextWithShadow(dc, text, target, format, textColor, shadowColor);
    } else {
        ::DrawTextW(dc, text.c_str(), TextLength(text), &target, format);
    }
}

GdiplusTextFormat MakeGdiplusTextFormat(UINT drawFormat, UINT textModeEx) {
    GdiplusTextFormat format;
    if (drawFormat & DT_CENTER) {
        format.align = gdip::kStringAlignmentCenter;
    }
    if (drawFormat & DT_VCENTER) {
        format.lineAlign = gdip::kStringAlignmentCenter;
    }
    if (textModeEx & 0x20) {
        format.flags = gdip::kStringFormatFlagsLineLimit;
    }
    if (textModeEx & 0x02) {
        format.align = gdip::kStringAlignmentFar;
    }
    if (textModeEx & 0x01) {
        format.align = gdip::kStringAlignmentCenter;
    }
    if (textModeEx & 0x04) {
        format.lineAlign = gdip::kStringAlignmentCenter;
    }
    if (textModeEx & 0x08) {
        format.lineAlign = gdip::kStringAlignmentFar;
    }
    if (drawFormat & DT_END_ELLIPSIS) {
        format.trimming = gdip::kStringTrimmingEllipsisCharacter;
    }
    if (drawFormat & DT_WORD_ELLIPSIS) {
        format.trimming = gdip::kStringTrimmingEllipsisWord;
    }
    if (drawFormat & DT_PATH_ELLIPSIS) {
        format.trimming = gdip::kStringTrimmingEllipsisPath;
    }
    return format;
}

BYTE GdiplusTextAlpha(int ownAlpha, int styleAlpha) {
    const int alpha = ownAlpha != -1 ? ownAlpha : styleAlpha;
    // 255 is kept off; values outside a byte would wrap into the colour.
    return static_cast<BYTE>(std::clamp(alpha, 0, 254));
}

void DrawGdiplusText(HDC dc, const std::wstring& text, const RECT& rect,
                     const GdiplusTextFormat& format, BYTE alpha, int renderingHint) {
    if (!GdiplusReady()) {
        return;
    }
    const gdip::Api* api = gdip::Functions();
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    gdip::ScopedFont font = GdiplusFontFromDc(dc);
    if (!graphics || !font) {
        return;
    }
    const COLORREF color = ::GetTextColor(dc);
    const gdip::ARGB argb = (static_cast<gdip::ARGB>(alpha) << 24) |
                            (static_cast<gdip::ARGB>(GetRValue(color)) << 16) |
                            (static_cast<gdip::ARGB>(GetGValue(color)) << 8) | GetBValue(color);
    gdip::ScopedBrush brush;
    if (api->GdipCreateSolidFill(argb, brush.Receive()) != gdip::kOk) {
        brush.Release();
        return;
    }
    gdip::ScopedStringFormat stringFormat;
    if (api->GdipCreateStringFormat(0, LANG_NEUTRAL, stringFormat.Receive()) != gdip::kOk) {
        stringFormat.Release();
        return;
    }
    api->GdipSetStringFormatAlign(stringFormat.Get(), format.align);
    api->GdipSetStringFormatLineAlign(stringFormat.Get(), format.lineAlign);
    if (format.flags != 0) {
        api->GdipSetStringFormatFlags(stringFormat.Get(), format.flags);
    }
    if (format.trimming >= 0) {
        api->GdipSetStringFormatTrimming(stringFormat.Get(), format.trimming);
    }
    api->GdipSetTextRenderingHint(graphics.Get(), renderingHint);
    const gdip::RectF layout = {static_cast<float>(rect.left), static_cast<float>(rect.top),
                                static_cast<float>(rect.right - rect.left),
                                static_cast<float>(rect.bottom - rect.top)};
    api->GdipDrawString(graphics.Get(), text.c_str(), -1, font.Get(), &layout, stringFormat.Get(),
                        brush.Get());
}

void PaintControlText(HDC dc, CBkWindow& control) {
    if (dc == nullptr) {
        return;
    }
    const BkStyle& style = control.Style();
    ScopedTextDc prepared(dc, control);
    if (control.CachedDrawFormat() == 0 || control.ForceUpdateStyle()) {
        control.SetCachedDrawFormat(style.textMode);
    }
    const UINT format = control.CachedDrawFormat();
    RECT& rect = prepared.TextRect();
    if (!style.noFaceCorrection) {
        const BkFontPool& pool = BkFontPool::Instance();
        rect = CorrectTextRect(rect, format, pool.BaseFace(), SizeStepOfSelectedFont(dc),
                               pool.BaseHeight(), control.AutoFixTextRect());
    }
    const std::wstring& text = control.Text();
    if (text.empty()) {
        return;
    }
    if (style.gdiplus) {
        DrawGdiplusText(dc, text, rect, MakeGdiplusTextFormat(format, style.textModeEx),
                        GdiplusTextAlpha(control.OwnTextAlpha(), style.alphaText),
                        style.gdiplusTextRenderingHint);
    } else if (style.shadow) {
        DrawTextWithShadow(dc, text, rect, format, ::GetTextColor(dc), style.crShadow);
    } else {
        ::DrawTextW(dc, text.c_str(), TextLength(text), &rect, format);
    }
}

namespace {

// Font for measuring: own or style font, else the nearest ancestor's; while
// hovered, the nearest hover font along the chain; else the code-0 font.
HFONT MeasuringFont(const CBkWindow& control) {
    HFONT font = nullptr;
    const CBkWindow* node = &control;
    for (int depth = 0; node != nullptr && depth < kMaxAncestors && font == nullptr; ++depth) {
        font = OwnOrStyleFont(*node);
        node = node->Parent();
    }
    if (Has(control.State(), ControlState::kHover)) {
        node = &control;
        for (int depth = 0; node != nullptr && depth < kMaxAncestors; ++depth) {
            if (node->Style().hoverFont != nullptr) {
                font = node->Style().hoverFont;
                break;
            }
            node = node->Parent();
        }
    }
    return font != nullptr ? font : BkFontPool::Instance().GetFont(0);
}

// GDI+ measuring; false when GDI+ is unavailable.
bool MeasureWithGdiplus(HDC dc, const std::wstring& text, SIZE layoutSize, SIZE& measured) {
    if (!GdiplusReady()) {
        return false;
    }
    const gdip::Api* api = gdip::Functions();
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    gdip::ScopedFont font = GdiplusFontFromDc(dc);
    gdip::ScopedStringFormat format;
    if (!graphics || !font ||
        api->GdipCreateStringFormat(0, LANG_NEUTRAL, format.Receive()) != gdip::kOk) {
        format.Release();
        return false;
    }
    api->GdipSetStringFormatAlign(format.Get(), gdip::kStringAlignmentNear);
    const gdip::RectF layout = {0.0f, 0.0f, static_cast<float>(layoutSize.cx),
                                static_cast<float>(layoutSize.cy)};
    gdip::RectF box = {};
    if (api->GdipMeasureString(graphics.Get(), text.c_str(), -1, font.Get(), &layout, format.Get(),
                               &box, nullptr, nullptr) != gdip::kOk) {
        return false;
    }
    // Partial pixels still need room.
    measured.cx = static_cast<LONG>(std::ceil(box.width));
    measured.cy = static_cast<LONG>(std::ceil(box.height));
    return true;
}

}  // namespace

SIZE MeasureControlText(const CBkWindow& control, SIZE available) {
    const BkStyle& style = control.Style();
    const SIZE margins = {2 * style.xMargin, 2 * style.yMargin};
    const std::wstring& text = control.Text();
    if (text.empty()) {
        return margins;
    }
    ScopedScreenDc screen;
    ScopedMemoryDc dc(::CreateCompatibleDC(screen.Get()));
    if (!dc) {
        return margins;
    }
    RECT work = control.Rect();
    if (available.cx > 0 || available.cy > 0) {
        work.right = work.left + available.cx;
        work.bottom = work.top + available.cy;
    }
    ScopedSelectObject selected(dc.Get(), MeasuringFont(control));
    ::InflateRect(&work, -style.xMargin, -style.yMargin);
    if (style.textMode & DT_WORDBREAK) {
        work.bottom = kUnboundedHeight;
    }
    SIZE measured = {0, 0};
    bool done = false;
    if (style.gdiplusMeasure) {
        SIZE layout = {work.right - work.left, work.bottom - work.top};
        if (const CBkWindow* parent = control.Parent()) {
            layout = {parent->Rect().right - parent->Rect().left,
                      parent->Rect().bottom - parent->Rect().top};
        }
        done = MeasureWithGdiplus(dc.Get(), text, layout, measured);
    }
    if (!done) {
        ::DrawTextW(dc.Get(), text.c_str(), TextLength(text), &work,
                    (style.textMode & ~kAlignmentBits) | DT_CALCRECT);
        measured = {work.right - work.left, work.bottom - work.top};
    }
    return SIZE{measured.cx + margins.cx, measured.cy + margins.cy};
}

}  // namespace velora
