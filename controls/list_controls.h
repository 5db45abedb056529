#pragma once

#include <cstdint>
#include <string>

#include "ui/bk_container.h"

namespace velora {

// "listwnd": a vertically scrolling column of `listitem`s with a scroll bar
// made from the `scrollclass` tag.
class CBkListWnd : public CBkDialog {
  public:
    static constexpr char kTag[] = "listwnd";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& ScrollBarTag() const { return scrollClass_; }
    // 1: items span the whole width under the bar; 0: they end where a
    // visible bar begins.
    int ExternLine() const { return externLine_; }

  private:
    std::string scrollClass_ = "listscrollbar";
    int externLine_ = 1;
};

// "listitem": one item of a list, a container of its own children.
class CBkListItem : public CBkDialog {
  public:
    static constexpr char kTag[] = "listitem";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    // A negative `height` is refused and the old height kept.
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    int ItemHeight() const { return height_; }
    // Whether the list last placed the item inside its visible area.
    bool InView() const { return viewVisible_ != 0; }
    // Set when the height changed: the next placement lays the children out.
    bool LayoutPending() const { return layoutPending_; }
    void ClearLayoutPending() { layoutPending_ = false; }

  private:
    int height_ = 0;
    int viewVisible_ = 0;
    bool layoutPending_ = false;
};

// "listscrollbar": the vertical scroll bar of a list.
class CBkWindowScollBar : public CBkWindow {
  public:
    static constexpr char kTag[] = "listscrollbar";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;
    bool RedrawOnStateChange() override { return true; }

    // Thumb colours as ARGB.
    std::uint32_t BarColor() const { return barColor_; }
    std::uint32_t HoverBarColor() const { return hoverBarColor_; }
    bool SquareThumb() const { return rectangleBar_ != 0; }
    int BarWidth() const { return barWidth_; }
    int Range() const { return range_; }
    int ScrollPosition() const { return position_; }

  private:
    std::uint32_t barColor_ = 0xC86EB5FF;
    std::uint32_t hoverBarColor_ = 0xFF6EB5FF;
    int rectangleBar_ = 1;
    int barWidth_ = 11;
    // Kept for skinned bars; the painting does not use them.
    std::string barSkin_ = "bk_scroll_bar";
    std::string backgroundSkin_ = "bk_scroll_bg";
    // Scroll state: range = total - page, 0 hides the bar.
    int range_ = 0;
    int position_ = 0;
    int page_ = 0;
    int total_ = 0;
    int dragMode_ = 0;  // 1 dragging the thumb, 2 pressed on the track
};

}  // namespace velora
