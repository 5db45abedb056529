#include "controls/list_scroll_bar.h"

#include <algorithm>
#include <cstdint>

#include "markup/attribute_reader.h"
#include "markup/gdiplus_runtime.h"
#include "ui/host_messages.h"

namespace velora {
namespace {

constexpr gdip::ARGB kTrackColor = 0xFFD8E0E4;
// The track is inset from the bar's edges, the thumb only sideways.
constexpr int kTrackInsetX = 2;
constexpr int kTrackInsetY = 4;
constexpr int kThumbInsetX = 2;
constexpr int kThumbEndInset = 2;

// a / b rounded away from zero; b must be positive.
int DivideAwayFromZero(std::int64_t a, std::int64_t b) {
    std::int64_t quotient = a / b;
    if (a % b != 0) {
        quotient += a > 0 ? 1 : -1;
    }
    return static_cast<int>(quotient);
}

POINT PointFromLParam(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

bool CBkWindowScollBar::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkWindowScollBar::SetAttribute(const std::string& name, const std::string& value,
                                     bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Hex("color_bar", barColor_) ||
           r.Hex("color_bar_hv", hoverBarColor_) || r.Int("rectanglebar", rectangleBar_) ||
           r.Int("barwidth", barWidth_);
}

// ---- Scroll state ---------------------------------------------------------------

void CBkWindowScollBar::SetBarRect(const RECT& rect) {
    MutableRect() = rect;
    UpdateThumb();
}

void CBkWindowScollBar::SetScrollInfo(int page, int total) {
    page_ = page;
    total_ = total;
    range_ = total - page;
    if (range_ > 0) {
        ModifyState(ControlState::kNone, ControlState::kHidden);
    } else {
        range_ = 0;
        ModifyState(ControlState::kHidden, ControlState::kNone);
    }
    position_ = std::clamp(position_, 0, range_);
    UpdateThumb();
}

int CBkWindowScollBar::SetScrollPosition(int position) {
    position_ = std::clamp(position, 0, range_);
    UpdateThumb();
    return position_;
}

int CBkWindowScollBar::TrackLength() const {
    const RECT& bar = Rect();
    return std::max(0, static_cast<int>(bar.bottom - bar.top) - thumbHeight_);
}

int CBkWindowScollBar::UnitsFromPixels(int pixels) const {
    const int track = TrackLength();
    if (track == 0) {
        return 0;
    }
    return DivideAwayFromZero(static_cast<std::int64_t>(pixels) * range_, track);
}

int CBkWindowScollBar::PixelsFromUnits(int units) const {
    if (range_ == 0) {
        return 0;
    }
    return DivideAwayFromZero(static_cast<std::int64_t>(TrackLength()) * units, range_);
}

void CBkWindowScollBar::UpdateThumb() {
    const RECT& bar = Rect();
    const int barHeight = bar.bottom - bar.top;
    thumbHeight_ = kMinThumbHeight;
    if (total_ > 0) {
        const std::int64_t share = static_cast<std::int64_t>(barHeight) * page_ / total_;
        thumbHeight_ = static_cast<int>(std::max<std::int64_t>(share, kMinThumbHeight));
    }
    thumb_.left = bar.left + kThumbInsetX;
    thumb_.right = bar.right - kThumbInsetX;
    thumb_.top = bar.top + PixelsFromUnits(position_);
    thumb_.bottom = thumb_.top + thumbHeight_;
}

void CBkWindowScollBar::ScrollByPixels(int pixels) {
    if (range_ == 0) {
        return;
    }
    // Keep the thumb inside the track. A thumb taller than the bar cannot move.
    const RECT& bar = Rect();
    const int up = bar.top - thumb_.top;
    const int down = std::max<int>(up, bar.bottom - thumb_.bottom);
    pixels = std::clamp(pixels, up, down);

    const int old = position_;
    position_ = std::clamp(position_ + UnitsFromPixels(pixels), 0, range_);
    UpdateThumb();
    if (position_ == old) {
        return;
    }
    if (CBkWindow* list = Parent()) {
        list->SendControlMessage(kMsgListScrollContent, static_cast<WPARAM>(position_ - old));
    }
}

// ---- Input ----------------------------------------------------------------------

void CBkWindowScollBar::OnLButtonDown(POINT point) {
    const RECT& bar = Rect();
    // The thumb is caught across the bar's whole width.
    const RECT catchArea = {bar.left, thumb_.top, bar.right, thumb_.bottom};
    if (::PtInRect(&catchArea, point)) {
        dragMode_ = kDraggingThumb;
        lastDragPoint_ = point;
        return;
    }
    if (point.y >= thumb_.bottom) {
        ScrollByPixels(point.y - thumb_.bottom);
    } else {
        ScrollByPixels(point.y - thumb_.top);
    }
    dragMode_ = kPressedOnTrack;
}

bool CBkWindowScollBar::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result) {
    switch (message) {
        case WM_LBUTTONDOWN:
            OnLButtonDown(PointFromLParam(lParam));
            break;
        case WM_MOUSEMOVE:
            if (dragMode_ == kDraggingThumb) {
                const POINT point = PointFromLParam(lParam);
                ScrollByPixels(point.y - lastDragPoint_.y);
                lastDragPoint_ = point;
            }
            break;
        case WM_LBUTTONUP:
        case WM_MOUSELEAVE:
            dragMode_ = kNoDrag;
            break;
        default:
            break;
    }
    return CBkWindow::HandleMessage(host, message, wParam, lParam, result);
}

// ---- Painting -------------------------------------------------------------------

void CBkWindowScollBar::PaintContent(HDC dc) {
    static gdip::Session session;
    const gdip::Api* api = gdip::Functions();
    if (api == nullptr || !session.IsStarted()) {
        return;
    }
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    if (!graphics) {
        return;
    }
    api->GdipSetSmoothingMode(graphics.Get(), gdip::kSmoothingAntiAlias);

    const RECT& bar = Rect();
    gdip::ScopedBrush track;
    if (api->GdipCreateSolidFill(kTrackColor, track.Receive()) == gdip::kOk) {
        api->GdipFillRectangleI(graphics.Get(), track.Get(), bar.left + kTrackInsetX,
                                bar.top + kTrackInsetY, bar.right - bar.left - 2 * kTrackInsetX,
                                bar.bottom - bar.top - 2 * kTrackInsetY);
    } else {
        track.Release();
    }

    // Ends that touch the bar's ends are pulled in a little.
    int top = thumb_.top;
    int bottom = thumb_.bottom;
    if (top <= bar.top) {
        top = bar.top + kThumbEndInset;
        bottom += kThumbEndInset;
    }
    if (bottom >= bar.bottom) {
        bottom = bar.bottom - kThumbEndInset;
    }
    const int width = thumb_.right - thumb_.left;
    const int half = width / 2;
    const bool lit = Has(State(), ControlState::kHover | ControlState::kPushed);
    gdip::ScopedPen pen;
    if (width <= 0 ||
        api->GdipCreatePen1(lit ? hoverBarColor_ : barColor_, static_cast<float>(width), 0,
                            pen.Receive()) != gdip::kOk) {
        pen.Release();
        return;
    }
    api->GdipSetPenMode(pen.Get(), gdip::kPenAlignmentCenter);
    if (rectangleBar_ == 0) {
        api->GdipSetPenStartCap(pen.Get(), gdip::kLineCapRound);
        api->GdipSetPenEndCap(pen.Get(), gdip::kLineCapRound);
    }
    const float x = static_cast<float>(thumb_.left) + static_cast<float>(width) / 2.0f;
    api->GdipDrawLine(graphics.Get(), pen.Get(), x, static_cast<float>(top + half), x,
                      static_cast<float>(bottom - half - 1));
}

}  // namespace velora
