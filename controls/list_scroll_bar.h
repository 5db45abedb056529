#pragma once

#include <cstdint>
#include <string>

#include "ui/bk_window.h"

namespace velora {

// "listscrollbar": the vertical scroll bar of a list. It lives in its list's
// coordinates; moving the thumb tells the list how far the content moves.
class CBkWindowScollBar : public CBkWindow {
  public:
    static constexpr char kTag[] = "listscrollbar";
    // Thumbs shorter than this could not be caught.
    static constexpr int kMinThumbHeight = 20;

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;
    bool RedrawOnStateChange() override { return true; }
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

    // ---- Look ---------------------------------------------------------------
    // The bar's natural width.
    int BarWidth() const { return barWidth_; }

    // ---- Scroll state, set by the list ----------------------------------------
    void SetBarRect(const RECT& rect);
    // Page = visible height, total = content height. A range (total - page)
    // above 0 shows the bar; otherwise it is hidden with range 0. The
    // position is kept, clamped into the new range.
    void SetScrollInfo(int page, int total);
    // Clamps into [0, range] and moves the thumb; returns the new position.
    int SetScrollPosition(int position);
    int Range() const { return range_; }
    int ScrollPosition() const { return position_; }
    int Page() const { return page_; }
    int Total() const { return total_; }
    const RECT& ThumbRect() const { return thumb_; }
    // Pixels the thumb can travel: bar height less thumb height (never negative).
    int TrackLength() const;

    // Position units for a thumb movement, rounded away from zero.
    int UnitsFromPixels(int pixels) const;
    // Thumb offset for a position, rounded away from zero.
    int PixelsFromUnits(int units) const;
    // Moves the thumb by `pixels` (kept inside the track) through the position
    // units and tells the list by how much its content scrolls.
    void ScrollByPixels(int pixels);

  protected:
    SIZE MeasureContent(SIZE available) override { return SIZE{barWidth_, available.cy}; }
    void PaintContent(HDC dc) override;

  private:
    enum DragMode { kNoDrag = 0, kDraggingThumb = 1, kPressedOnTrack = 2 };
    void UpdateThumb();
    void OnLButtonDown(POINT point);

    std::uint32_t barColor_ = 0xC86EB5FF;
    std::uint32_t hoverBarColor_ = 0xFF6EB5FF;
    int rectangleBar_ = 1;
    int barWidth_ = 11;
    // Kept for skinned bars; the painting does not use them.
    std::string barSkin_ = "bk_scroll_bar";
    std::string backgroundSkin_ = "bk_scroll_bg";
    int range_ = 0;
    int position_ = 0;
    int page_ = 0;
    int total_ = 0;
    int thumbHeight_ = kMinThumbHeight;
    RECT thumb_ = {};
    int dragMode_ = kNoDrag;
    POINT lastDragPoint_ = {};
};

}  // namespace velora
