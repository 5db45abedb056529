#pragma once

#include <windows.h>

#include "base/gdi_scopes.h"
#include "ui/back_buffer.h"

namespace velora {

class CBkWindowImpl;

// What a host painter draws and whom it tells.
class IBkPaintSource {
  public:
    // Draws the window's content over `area` into `dc`, which is prepared
    // (default font, transparent background) and clipped to `region` when
    // one is given.
    virtual void PaintContent(HDC dc, HRGN region, const RECT& area) = 0;
    // After every paint and present.
    virtual void AfterPaint() = 0;

  protected:
    ~IBkPaintSource() = default;
};

// The painting of a host window: a back buffer everything is painted into
// first, the region invalidated since the last paint, batches of
// invalidations made by one input message, and presenting the buffer
// (opaque, or per-pixel alpha for a layered window).
class CBkHostPainter {
  public:
    // Both must outlive the painter.
    CBkHostPainter(const CBkWindowImpl& window, IBkPaintSource& source)
        : window_(window), source_(source) {}

    void SetWindowAlpha(BYTE alpha) { windowAlpha_ = alpha; }
    bool IsLayered() const;

    // A buffer of this size, made again only when the size differs.
    void FitBuffer(int width, int height);
    // The next paint repaints everything, without asking the system for one.
    void RequireFullRedraw() { fullRedraw_ = true; }
    void DropDirtyRegion() { dirtyRegion_.Reset(); }
    // Adds `rect` to what the next paint repaints and tells the system.
    void Invalidate(const RECT& rect);
    // Everything is repainted at the next paint.
    void InvalidateAll();

    // WM_PAINT: repaints and presents what the system asks for.
    void PaintWindow();
    // Repaints what is dirty, then presents the whole buffer into `target`
    // (only `area` of it when given); a null target presents a layered window.
    void Paint(HDC target, const RECT* area = nullptr);
    // WM_DESTROY: the buffer and the drawing context go.
    void Release();

    const CBkBitmap& Buffer() const { return backBuffer_; }
    int BufferBuilds() const { return backBufferBuilds_; }

    // Holds back the system invalidations of one input message and presents
    // their bounds at once when the message is done: each invalidation and
    // each WM_PAINT is a round trip to the window system, and a hover change
    // makes two invalidations.
    class Batch {
      public:
        explicit Batch(CBkHostPainter& painter) : painter_(painter) { ++painter_.openBatches_; }
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

      private:
        CBkHostPainter& painter_;
    };

  private:
    void RepaintBuffer(HDC dc);
    void Present(HDC dc, HDC target, const RECT* area);
    // Shows what an input message changed inside `area` without waiting for
    // WM_PAINT; falls back to invalidating it where that cannot be done.
    void PresentInputChange(const RECT& area);

    const CBkWindowImpl& window_;
    IBkPaintSource& source_;
    CBkBitmap backBuffer_;
    ScopedMemoryDc paintDc_;  // draws into and presents the back buffer
    ScopedRegion dirtyRegion_;
    bool dirty_ = false;
    bool fullRedraw_ = true;
    BYTE windowAlpha_ = 255;
    int backBufferBuilds_ = 0;
    int openBatches_ = 0;
    RECT batchBounds_ = {};  // what the open batches have invalidated
};

}  // namespace velora
