// The list's painting: through one off-screen bitmap, and its repaint
// requests to the host, clipped to the list.
#include "controls/list_controls.h"

#include "ui/host_link.h"
#include "base/gdi_scopes.h"
#include "controls/skin_cells.h"
#include "ui/notification.h"

namespace velora {

void CBkListWnd::InvalidateInHost(const RECT& rect) const {
    if (Host() == nullptr || !IsVisible()) {
        return;
    }
    const RECT& list = Rect();
    const RECT bounds = {0, 0, RectWidth(list), RectHeight(list)};
    BkNotifyRepaint record = {};
    if (!::IntersectRect(&record.rect, &rect, &bounds)) {
        return;
    }
    ::OffsetRect(&record.rect, list.left, list.top);
    record.hdr.hwndFrom = nullptr;
    record.hdr.idFrom = static_cast<UINT_PTR>(Id());
    record.hdr.code = kNotifyRepaint;
    record.controlHandle = Handle();
    NotifyHost(Host(), static_cast<WPARAM>(Id()), record.hdr);
}

void CBkListWnd::InvalidateList() const {
    InvalidateInHost(RECT{0, 0, RectWidth(Rect()), RectHeight(Rect())});
}

bool CBkListWnd::RedrawRegion(HDC dc, HRGN region) {
    const RECT& list = Rect();
    if (region != nullptr && !::RectInRegion(region, &list)) {
        return false;
    }
    const int width = RectWidth(list);
    const int height = RectHeight(list);
    if (width <= 0 || height <= 0) {
        return true;
    }
    if (offscreen_.Width() != width || offscreen_.Height() != height) {
        offscreen_ = Dib32::Create(width, height);
    }
    ScopedMemoryDc memory(::CreateCompatibleDC(dc));
    if (!offscreen_.IsValid() || !memory) {
        return true;
    }
    HDC canvas = memory.Get();
    ScopedSelectObject selected(canvas, offscreen_.Handle());
    // Start from what is already there, so transparent parts keep the background.
    ::BitBlt(canvas, 0, 0, width, height, dc, list.left, list.top, SRCCOPY);

    ScopedRegion clip(::CreateRectRgn(0, 0, width, height));
    if (region != nullptr) {
        ScopedRegion moved(::CreateRectRgn(0, 0, 0, 0));
        ::CombineRgn(moved.Get(), region, nullptr, RGN_COPY);
        ::OffsetRgn(moved.Get(), -list.left, -list.top);
        ::CombineRgn(clip.Get(), clip.Get(), moved.Get(), RGN_AND);
    }
    ::SelectClipRgn(canvas, clip.Get());
    ::SetBkMode(canvas, TRANSPARENT);

    // The list's own background and text are placed in host coordinates.
    POINT origin = {};
    ::SetViewportOrgEx(canvas, -list.left, -list.top, &origin);
    DrawBackground(canvas);
    PaintContent(canvas);
    ::SetViewportOrgEx(canvas, origin.x, origin.y, nullptr);

    for (auto& item : items_) {
        if (!Has(item->State(), ControlState::kHidden) && item->InView()) {
            item->PaintInList(canvas, clip.Get());
        }
    }
    if (bar_ && !Has(bar_->State(), ControlState::kHidden)) {
        bar_->RedrawRegion(canvas, clip.Get());
    }
    ::BitBlt(dc, list.left, list.top, width, height, canvas, 0, 0, SRCCOPY);
    return true;
}

}  // namespace velora
