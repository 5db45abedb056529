#include "controls/line_controls.h"

#include <algorithm>

#include "base/gdi_scopes.h"
#include "markup/attribute_reader.h"
#include "markup/gdiplus_runtime.h"
#include "markup/style_pool.h"

namespace velora {
namespace {

constexpr AttributeWord<BkLineStyle> kLineStyles[] = {{"solid", BkLineStyle::kSolid},
                                                      {"dash", BkLineStyle::kDash},
                                                      {"dot", BkLineStyle::kDot},
                                                      {"dashdot", BkLineStyle::kDashDot},
                                                      {"dashdotdot", BkLineStyle::kDashDotDot}};

}  // namespace

bool CBkLine::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkLine::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Enum("style", kLineStyles, style_) ||
           r.Int("size", size_);
}

bool CBkLineEx::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

}  // namespace velora

namespace velora {
namespace {

// Pens wider than this are no rule any more; the width is kept sane so that a
// bogus `size` cannot ask GDI for a gigantic pen.
constexpr int kMaxPenWidth = 1024;

int PenWidthFor(int size) {
    return std::clamp(size, 0, kMaxPenWidth);
}

}  // namespace

COLORREF CBkLine::LineColor() const {
    if (OwnBackgroundColor() != kNoColor) {
        return OwnBackgroundColor();
    }
    const COLORREF styleColor = Style().crBg;
    return styleColor != kNoColor ? styleColor : RGB(0, 0, 0);
}

void CBkLine::DrawBackground(HDC /*dc*/) {}

void CBkLine::PaintContent(HDC dc) {
    ScopedPen pen(::CreatePen(static_cast<int>(style_), PenWidthFor(size_), LineColor()));
    const ScopedSelectObject selected(dc, pen.Get());
    if (!selected.IsSelected()) {
        return;
    }
    const RECT& rect = Rect();
    POINT previous = {};
    ::MoveToEx(dc, rect.left, rect.top, &previous);
    ::LineTo(dc, rect.right, rect.bottom);
    ::MoveToEx(dc, previous.x, previous.y, nullptr);
}

void CBkLineEx::PaintContent(HDC dc) {
    const gdip::Api* api = gdip::Functions();
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    if (api == nullptr || !graphics) {
        return;
    }
    const COLORREF color = LineColor();
    const BYTE alpha = static_cast<BYTE>(std::clamp(Style().alphaBackground, 0, 255));
    const gdip::ARGB argb = (static_cast<gdip::ARGB>(alpha) << 24) |
                            (static_cast<gdip::ARGB>(GetRValue(color)) << 16) |
                            (static_cast<gdip::ARGB>(GetGValue(color)) << 8) | GetBValue(color);
    gdip::ScopedPen pen;
    if (api->GdipCreatePen1(argb, static_cast<float>(PenWidthFor(PenWidth())), gdip::kUnitPixel,
                            pen.Receive()) != gdip::kOk) {
        pen.Release();
        return;
    }
    api->GdipSetPenDashStyle(pen.Get(), static_cast<int>(LineStyle()));
    const RECT& rect = Rect();
    const gdip::Point points[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    api->GdipDrawLinesI(graphics.Get(), pen.Get(), points, 2);
}

}  // namespace velora
