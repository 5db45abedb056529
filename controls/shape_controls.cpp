#include "controls/shape_controls.h"

#include <algorithm>

#include "ui/host_link.h"
#include "base/gdi_scopes.h"
#include "controls/skin_cells.h"
#include "markup/attribute_reader.h"
#include "markup/dib32.h"
#include "markup/gdiplus_runtime.h"
#include "markup/nine_grid.h"
#include "ui/notification.h"
#include "ui/text_painter.h"

namespace velora {

bool CBkRoundRect::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRoundRect::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Int("rndwidht", cornerWidth_) ||
           r.Int("rndheight", cornerHeight_);
}

bool CBkRoundRectPath::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRoundRectPath::SetAttribute(const std::string& name, const std::string& value,
                                    bool loading) {
    const AttributeReader r(name, value);
    return CBkRoundRect::SetAttribute(name, value, loading) || r.Int("bdrawbg", drawBackground_) ||
           r.Color("crline", lineColor_) || r.Int("crlinealpha", lineAlpha_);
}

bool CBKShadowText::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBKShadowText::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Int("normalshadow", normalShadow_) ||
           r.Int("hovershadow", hoverShadow_) || r.Color("crshaow", shadowColor_) ||
           r.Int("crshadowalpha", shadowAlpha_);
}

bool BkSlider::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool BkSlider::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) ||
           r.Int("bgleftmargin", bgMargins_.left) || r.Int("bgtopmargin", bgMargins_.top) ||
           r.Int("bgrightmargin", bgMargins_.right) || r.Int("bgbottommargin", bgMargins_.bottom) ||
           r.Int("sliderpos", sliderPos_) || r.Text("skinbg", skinBg_) || r.Text("skin", skin_);
}

}  // namespace velora

namespace velora {
namespace {

gdip::ARGB MakeArgb(int alpha, COLORREF color) {
    return (static_cast<gdip::ARGB>(std::clamp(alpha, 0, 255)) << 24) |
           (static_cast<gdip::ARGB>(GetRValue(color)) << 16) |
           (static_cast<gdip::ARGB>(GetGValue(color)) << 8) | GetBValue(color);
}

// A closed rounded rectangle at (x, y) of width x height; square corners
// when a corner side is 0. Empty when GDI+ refuses.
gdip::ScopedPath RoundedRectPath(int x, int y, int width, int height, int cornerWidth,
                                 int cornerHeight) {
    const gdip::Api* api = gdip::Functions();
    gdip::ScopedPath path;
    if (api == nullptr || width <= 0 || height <= 0 ||
        api->GdipCreatePath(gdip::kFillModeAlternate, path.Receive()) != gdip::kOk) {
        path.Release();
        return path;
    }
    const int cw = std::min(cornerWidth, width);
    const int ch = std::min(cornerHeight, height);
    if (cw <= 0 || ch <= 0) {
        api->GdipAddPathRectangleI(path.Get(), x, y, width, height);
        return path;
    }
    api->GdipAddPathArcI(path.Get(), x, y, cw, ch, 180.0f, 90.0f);
    api->GdipAddPathArcI(path.Get(), x + width - cw, y, cw, ch, 270.0f, 90.0f);
    api->GdipAddPathArcI(path.Get(), x + width - cw, y + height - ch, cw, ch, 0.0f, 90.0f);
    api->GdipAddPathArcI(path.Get(), x, y + height - ch, cw, ch, 90.0f, 90.0f);
    api->GdipClosePathFigure(path.Get());
    return path;
}

void FillPath(gdip::GpGraphics* graphics, gdip::GpPath* path, gdip::ARGB argb) {
    const gdip::Api* api = gdip::Functions();
    gdip::ScopedBrush brush;
    if (api->GdipCreateSolidFill(argb, brush.Receive()) != gdip::kOk) {
        brush.Release();
        return;
    }
    api->GdipFillPath(graphics, brush.Get(), path);
}

// Turns white-on-black text coverage into premultiplied `color` with the
// coverage times `alpha` as its alpha.
void TintByCoverage(Dib32& mask, COLORREF color, int alpha) {
    std::uint32_t* pixel = mask.Pixels();
    for (int i = 0; i < mask.Width() * mask.Height(); ++i, ++pixel) {
        const std::uint32_t p = *pixel;
        const std::uint32_t coverage =
            std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF}) * alpha / 255;
        const auto premultiply = [coverage](std::uint32_t channel) {
            return channel * coverage / 255;
        };
        *pixel = (coverage << 24) | (premultiply(GetRValue(color)) << 16) |
                 (premultiply(GetGValue(color)) << 8) | premultiply(GetBValue(color));
    }
}

}  // namespace

// ---- rundrect ---------------------------------------------------------------------

void CBkRoundRect::DrawBackground(HDC /*dc*/) {}

bool CBkRoundRect::FillColor(std::uint32_t& argb) const {
    const COLORREF color = OwnBackgroundColor() != kNoColor ? OwnBackgroundColor() : Style().crBg;
    if (color == kNoColor) {
        return false;
    }
    argb = MakeArgb(Style().alphaBackground, color);
    return true;
}

void CBkRoundRect::PaintContent(HDC dc) {
    std::uint32_t argb = 0;
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    if (!graphics || !FillColor(argb)) {
        return;
    }
    const RECT& rect = Rect();
    gdip::ScopedPath path = RoundedRectPath(rect.left, rect.top, rect.right - rect.left,
                                            rect.bottom - rect.top, cornerWidth_, cornerHeight_);
    if (path) {
        FillPath(graphics.Get(), path.Get(), argb);
    }
}

// ---- rundrectpath -----------------------------------------------------------------

void CBkRoundRectPath::PaintContent(HDC dc) {
    const gdip::Api* api = gdip::Functions();
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    if (!graphics) {
        return;
    }
    api->GdipSetSmoothingMode(graphics.Get(), gdip::kSmoothingAntiAlias);
    const RECT& rect = Rect();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::uint32_t argb = 0;
    if (drawBackground_ != 0 && FillColor(argb)) {
        gdip::ScopedPath fill =
            RoundedRectPath(rect.left, rect.top, width, height, CornerWidth(), CornerHeight());
        if (fill) {
            FillPath(graphics.Get(), fill.Get(), argb);
        }
    }
    if (lineColor_ == kNoColor) {
        return;
    }
    // The outline runs through pixel centres, one pixel in from the far edges.
    gdip::ScopedPath outline =
        RoundedRectPath(rect.left, rect.top, width - 1, height - 1, CornerWidth(), CornerHeight());
    gdip::ScopedPen pen;
    if (!outline || api->GdipCreatePen1(MakeArgb(lineAlpha_, lineColor_), 1.0f, gdip::kUnitPixel,
                                        pen.Receive()) != gdip::kOk) {
        pen.Release();
        return;
    }
    api->GdipDrawPath(graphics.Get(), pen.Get(), outline.Get());
}

// ---- shadowtext -----------------------------------------------------------------

int CBKShadowText::ShadowOffset() const {
    return Has(State(), ControlState::kHover) ? hoverShadow_ : normalShadow_;
}

void CBKShadowText::PaintContent(HDC dc) {
    const int offset = ShadowOffset();
    const RECT& rect = Rect();
    if (offset != 0 && !Text().empty()) {
        // The shadow is the text drawn by GDI, like the text itself, into a
        // mask whose coverage becomes alpha in the shadow colour: GDI text
        // has no alpha of its own.
        ScopedTextDc prepared(dc, *this);
        Dib32 mask = Dib32::Create(RectWidth(rect), RectHeight(rect));
        ScopedMemoryDc memory(::CreateCompatibleDC(dc));
        if (mask.IsValid() && memory) {
            RECT local = prepared.TextRect();
            ::OffsetRect(&local, offset - rect.left, offset - rect.top);
            const UINT format = CachedDrawFormat() != 0 ? CachedDrawFormat() : Style().textMode;
            {
                ScopedSelectObject bitmap(memory.Get(), mask.Handle());
                ScopedSelectObject font(memory.Get(), prepared.Font());
                ::SetBkMode(memory.Get(), TRANSPARENT);
                ::SetTextColor(memory.Get(), RGB(255, 255, 255));
                ::DrawTextW(memory.Get(), Text().c_str(), static_cast<int>(Text().size()), &local,
                            format);
            }
            ::GdiFlush();
            TintByCoverage(mask, shadowColor_, std::clamp(shadowAlpha_, 0, 255));
            BlendDib(dc, rect, mask, RECT{0, 0, mask.Width(), mask.Height()});
        }
    }
    PaintControlText(dc, *this);
}

// ---- slider -----------------------------------------------------------------------

RECT BkSlider::ThumbRect() const {
    CBkSkinBase* thumb = FindSkin(skin_);
    const SIZE size = thumb != nullptr ? thumb->GetSkinSize() : SIZE{0, 0};
    if (size.cx <= 0 || size.cy <= 0) {
        return {};
    }
    const RECT& rect = Rect();
    const int left = rect.left + std::clamp(sliderPos_, 0, MaxPosition());
    const int top = rect.top + (rect.bottom - rect.top - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
}

int BkSlider::MaxPosition() const {
    CBkSkinBase* thumb = FindSkin(skin_);
    const int thumbWidth = thumb != nullptr ? thumb->GetSkinSize().cx : 0;
    return std::max(0, RectWidth(Rect()) - thumbWidth);
}

SIZE BkSlider::MeasureContent(SIZE available) {
    if (Position().list.count == 4) {
        return CBkWindow::MeasureContent(available);
    }
    SIZE size = ReplaceWithSkinSize(CBkWindow::MeasureContent(available), FindSkin(skinBg_));
    if (CBkSkinBase* thumb = FindSkin(skin_)) {
        size.cy = std::max(size.cy, thumb->GetSkinSize().cy);
    }
    return size;
}

void BkSlider::PaintContent(HDC dc) {
    if (CBkSkinBase* background = FindSkin(skinBg_)) {
        const SIZE size = background->GetSkinSize();
        DrawNineGrid(dc, *background, Rect(), RECT{0, 0, size.cx, size.cy}, bgMargins_,
                     NineGridMiddle::kDraw);
    }
    CBkSkinBase* thumb = FindSkin(skin_);
    const RECT thumbRect = ThumbRect();
    if (thumb != nullptr && !::IsRectEmpty(&thumbRect)) {
        thumb->Draw(dc, thumbRect, StateIndexWithDisabled(State(), IsDisabled()));
    }
}

bool BkSlider::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result) {
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
        case WM_LBUTTONDOWN: {
            // A press on the thumb keeps the grab point; elsewhere the thumb
            // centres under the mouse.
            const RECT thumb = ThumbRect();
            grabOffset_ =
                ::PtInRect(&thumb, point) ? point.x - thumb.left : (thumb.right - thumb.left) / 2;
            dragging_ = true;
            DragTo(point.x);
            break;
        }
        case WM_MOUSEMOVE:
            if (dragging_) {
                DragTo(point.x);
            }
            return CBkWindow::HandleMessage(host, message, wParam, lParam, result);
        case WM_LBUTTONUP:
            if (dragging_) {
                DragTo(point.x);
                dragging_ = false;
            }
            break;
        default:
            return CBkWindow::HandleMessage(host, message, wParam, lParam, result);
    }
    result = 0;
    SetMessageHandled(true);
    return true;
}

void BkSlider::DragTo(int x) {
    const long long wanted = static_cast<long long>(x) - grabOffset_ - Rect().left;
    const int position = static_cast<int>(std::clamp<long long>(wanted, 0, MaxPosition()));
    if (position == sliderPos_) {
        return;
    }
    sliderPos_ = position;
    RequestRepaint();
    NotifyPosition();
}

void BkSlider::NotifyPosition() const {
    HWND host = Host();
    if (host == nullptr) {
        return;
    }
    const int dialogId = ::GetDlgCtrlID(host);
    BkNotify record = {};
    record.hdr.hwndFrom = host;
    record.hdr.idFrom = static_cast<UINT_PTR>(dialogId);
    record.hdr.code = kNotifySliderPos;
    record.controlId = static_cast<UINT>(Id());
    record.classTag = kTag;
    record.subCode = sliderPos_;
    NotifyHost(host, static_cast<WPARAM>(dialogId), record.hdr);
}

}  // namespace velora
