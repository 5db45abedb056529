#pragma once

#include <string>

#include "controls/list_child_pointer.h"
#include "ui/bk_container.h"

namespace velora {

// "listitem": one item of a list. Its rectangle is in the list's
// coordinates; its children keep coordinates relative to the item, so the
// list can move it (scrolling) without laying the children out again.
class CBkListItem : public CBkDialog, private ListChildPointer {
  public:
    static constexpr char kTag[] = "listitem";
    // Item-level events are reported as this base plus the event.
    static constexpr int kItemEventBase = 101;

    CBkListItem() : ListChildPointer(static_cast<CBkWindow&>(*this)) {}

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    // A negative `height` is refused and the old height kept.
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    int ItemHeight() const { return height_; }
    // Whether the list last placed the item inside its visible area.
    bool InView() const { return viewVisible_ != 0; }
    // Drops the layout a height change asked for (the next placement would
    // otherwise lay the children out).
    void ClearLayoutPending() { layoutPending_ = false; }

    // ---- Placed and painted by the list ------------------------------------
    // Takes `rect` (list coordinates). Children are laid out when the item is
    // in view and the move is not a pure scroll or a layout is pending; a
    // layout asked for while out of view waits until the item comes into view.
    void PlaceInList(const RECT& rect, bool pureScroll);
    // Paints into the list's bitmap; `region` is in list coordinates (null: all).
    void PaintInList(HDC dc, HRGN region);

    // ---- Container and input -----------------------------------------------
    // The list routes the mouse: the item is hit as a whole.
    std::int32_t HitTest(int x, int y) override;
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;
    void RepositionChildren() override;
    void RepositionChild(CBkWindow* child) override;
    // The hover child's tip, else the item's own.
    const std::wstring& GetToolTipText() const override {
        return HoverChildTipOr(CBkDialog::GetToolTipText());
    }
    void SetControlCursor() override;
    using ListChildPointer::HoverChild;

  protected:
    SIZE MeasureContent(SIZE available) override;

  private:
    // The area children are placed in, relative to the item.
    RECT LocalChildArea() const;
    CBkWindow* ChildAt(POINT point) override;
    void ReportEvent(PointerEvent event, CBkWindow& child) override;
    bool OpensLinks() const override { return true; }

    int height_ = 0;
    int viewVisible_ = 0;
    bool layoutPending_ = false;
};

}  // namespace velora
