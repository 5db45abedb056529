#include "ui/host_painter.h"

#include "base/gdi_scopes.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "markup/font_pool.h"
#include "ui/window_impl.h"

namespace velora {

bool CBkHostPainter::IsLayered() const {
    HWND window = window_.Handle();
    return window != nullptr && (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

void CBkHostPainter::FitBuffer(int width, int height) {
    if (!backBuffer_.HasSize(width, height)) {
        backBuffer_.Create(width, height);
        ++backBufferBuilds_;
    }
}

void CBkHostPainter::Invalidate(const RECT& rect) {
    if (::IsRectEmpty(&rect)) {
        return;  // nothing to repaint, and no paint to ask for
    }
    if (!fullRedraw_) {
        ScopedRegion piece(::CreateRectRgnIndirect(&rect));
        if (!dirtyRegion_) {
            dirtyRegion_ = std::move(piece);
        } else if (piece) {
            ::CombineRgn(dirtyRegion_.Get(), dirtyRegion_.Get(), piece.Get(), RGN_OR);
        }
    }
    // WM_PAINT presents only the system's update rectangle, so the system
    // must know each changed rectangle, not just that something changed.
    if (openBatches_ > 0) {
        ::UnionRect(&batchBounds_, &batchBounds_, &rect);
    } else if (window_.Handle() != nullptr) {
        ::InvalidateRect(window_.Handle(), &rect, FALSE);
    }
    dirty_ = true;
}

void CBkHostPainter::InvalidateAll() {
    fullRedraw_ = true;
    dirty_ = true;
    dirtyRegion_.Reset();
    if (window_.Handle() != nullptr) {
        ::InvalidateRect(window_.Handle(), nullptr, FALSE);
    }
}

CBkHostPainter::Batch::~Batch() {
    if (--painter_.openBatches_ == 0 && !::IsRectEmpty(&painter_.batchBounds_)) {
        const RECT bounds = painter_.batchBounds_;
        painter_.batchBounds_ = RECT{};
        painter_.PresentInputChange(bounds);
    }
}

void CBkHostPainter::PresentInputChange(const RECT& area) {
    HWND window = window_.Handle();
    if (window == nullptr) {
        return;
    }
    // A hover answers the mouse at once. Drawing straight into the window
    // skips the invalidation, BeginPaint and EndPaint of a WM_PAINT, which
    // cost more than repainting two buttons. A pending full redraw, a layered
    // window (presented whole) or a window not on screen take the usual path.
    const bool direct = !fullRedraw_ && backBuffer_.Handle() != nullptr &&
                        ::IsWindowVisible(window) && !::IsIconic(window) && !IsLayered();
    HDC dc = direct ? ::GetDC(window) : nullptr;
    if (dc == nullptr) {
        ::InvalidateRect(window, &area, FALSE);
        return;
    }
    Paint(dc, &area);
    ::ReleaseDC(window, dc);
}

void CBkHostPainter::PaintWindow() {
    HWND window = window_.Handle();
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    if (IsLayered()) {
        Paint(nullptr);
    } else {
        // The rest of the window already shows what the buffer holds.
        Paint(dc, &ps.rcPaint);
    }
    ::EndPaint(window, &ps);
}

void CBkHostPainter::Paint(HDC target, const RECT* area) {
    if (fullRedraw_) {
        dirtyRegion_.Reset();
        dirty_ = true;
    }
    if (backBuffer_.Handle() != nullptr) {
        // One memory DC both draws into the buffer and presents it. It is
        // kept across paints (making one costs more than a small repaint);
        // the buffer is selected only while painting, so others may select it.
        if (!paintDc_) {
            paintDc_ = ScopedMemoryDc(::CreateCompatibleDC(nullptr));
        }
        ScopedSelectObject buffer(paintDc_.Get(), backBuffer_.Handle());
        if (dirty_) {
            RepaintBuffer(paintDc_.Get());
        }
        Present(paintDc_.Get(), target, area);
    }
    source_.AfterPaint();
    fullRedraw_ = false;
    dirty_ = false;
}

void CBkHostPainter::Present(HDC dc, HDC target, const RECT* area) {
    if (target != nullptr) {
        RECT present = {0, 0, backBuffer_.Width(), backBuffer_.Height()};
        if (area != nullptr && !::IntersectRect(&present, &present, area)) {
            present = RECT{};
        }
        if (!::IsRectEmpty(&present)) {
            ::BitBlt(target, present.left, present.top, present.right - present.left,
                     present.bottom - present.top, dc, present.left, present.top, SRCCOPY);
        }
    } else if (IsLayered()) {
        HWND window = window_.Handle();
        RECT rect;
        ::GetWindowRect(window, &rect);
        POINT position = {rect.left, rect.top};
        SIZE size = {backBuffer_.Width(), backBuffer_.Height()};
        POINT origin = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, windowAlpha_, AC_SRC_ALPHA};
        ::UpdateLayeredWindow(window, nullptr, &position, &size, dc, &origin, 0, &blend, ULW_ALPHA);
    }
}

void CBkHostPainter::RepaintBuffer(HDC dc) {
    const std::size_t pixels = static_cast<std::size_t>(backBuffer_.Width()) * backBuffer_.Height();
    if (fullRedraw_ || !dirtyRegion_) {
        std::memset(backBuffer_.Pixels(), 0, pixels * sizeof(std::uint32_t));
    } else if (IsLayered()) {
        // Transparent black under the parts about to be repainted.
        ScopedBrush black(::CreateSolidBrush(RGB(0, 0, 0)));
        ::FillRgn(dc, dirtyRegion_.Get(), black.Get());
    }
    {
        // Font, mode and clip go back before the region they clip to goes.
        const ScopedSavedDc saved(dc);
        if (HFONT font = BkFontPool::Instance().GetFont(0)) {
            ::SelectObject(dc, font);
        }
        ::SetBkMode(dc, TRANSPARENT);
        // A full repaint is limited to the buffer too: controls placed outside
        // it (the custom-install area below the first page) are not drawn,
        // and their pictures not decoded, until they come into view.
        const RECT area = {0, 0, backBuffer_.Width(), backBuffer_.Height()};
        ScopedRegion whole;
        HRGN region = dirtyRegion_.Get();
        if (region == nullptr) {
            whole.Reset(::CreateRectRgnIndirect(&area));
            region = whole.Get();
        }
        if (region != nullptr) {
            ::SelectClipRgn(dc, region);
        }
        source_.PaintContent(dc, region, area);
    }
    dirtyRegion_.Reset();
}

void CBkHostPainter::Release() {
    paintDc_.Reset();
    backBuffer_.Reset();
}

}  // namespace velora
