#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/list_child_pointer.h"
#include "controls/list_item.h"
#include "controls/list_message_window.h"
#include "controls/list_scroll_bar.h"
#include "controls/list_smooth_scroll.h"
#include "markup/dib32.h"
#include "ui/bk_container.h"
#include "ui/list_impl.h"

namespace velora {

// "listwnd": a vertically scrolling column of `listitem`s with a scroll bar
// made from the `scrollclass` tag. Items and bar live in list coordinates
// (0, 0 at the list's top-left); the list routes the mouse to them, paints
// them through one off-screen bitmap and reports their events (code 14).
class CBkListWnd : public CBkDialog,
                   public CBkListImpl,
                   private IProcessMsgBack,
                   private ListChildPointer {
  public:
    static constexpr char kTag[] = "listwnd";
    // One wheel notch scrolls this far; an arrow key a third of it.
    static constexpr int kWheelStep = 65;
    static constexpr int kLineStep = kWheelStep / 3;
    // List-level events: items report this base plus the event.
    static constexpr int kItemEventBase = 21;

    CBkListWnd();
    ~CBkListWnd() override;

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool TakesHeaderPress() const override { return true; }
    bool TakesHeaderDoubleClick() const override { return true; }
    // It takes the focus to scroll by keys (but does nothing on Space or Enter).
    bool TabStopByDefault() const override { return true; }
    bool ScrollByKey(UINT key) override;
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    // ---- Loading and layout -------------------------------------------------
    // Base attributes and items, then a new scroll bar from the bar tag.
    bool Load(const TiXmlElement* element) override;
    // Keeps only the `listitem` children, in document order.
    bool LoadChildren(const TiXmlElement* first) override;
    // Places bar and items again; `layoutChildren` asks items to lay out
    // their children too (otherwise only pending ones do).
    void Relayout(bool layoutChildren);
    void RelayoutWithoutChildren() { Relayout(false); }
    // The sum of the heights of the shown items.
    int ContentSize() const;
    // Puts the items in the order of `order` (old indices); false unless it
    // names every item exactly once.
    bool ReorderItems(const std::vector<int>& order);

    // ---- Scrolling ------------------------------------------------------------
    void SetScrollPos(int position, bool relayout);
    // Scrolls so that the item's top is at the list's top; ignores bad indices.
    void MakeItemVisible(int index);
    // The position becomes y - content top, clamped.
    void ScrollToY(int y, bool relayout);
    // The position becomes position - delta, clamped; always relayouts.
    void ScrollBy(int delta);
    // A wheel turn of `delta` (120 a notch; below 1 is toward the user: down).
    void ScrollByWheel(int delta);
    int ScrollPosition() const { return bar_ ? bar_->ScrollPosition() : 0; }
    // Scrolls `distance` pixels over timer ticks of the message window
    // (down when `down`). Nothing in the installer starts one.
    void StartSmoothScroll(int distance, bool down);
    bool SmoothScrolling() const { return smooth_.Active(); }

    // ---- Children -------------------------------------------------------------
    // The bar (when visible), else the topmost shown item under a point in
    // list coordinates.
    CBkWindow* HitTestChildren(POINT point) { return ChildAt(point); }
    CBkWindowScollBar* ScrollBar() const { return bar_.get(); }
    const std::vector<std::unique_ptr<CBkListItem>>& Items() const { return items_; }
    // Index of the item with this control handle, -1 when none.
    int ItemIndex(std::int32_t handle) const;
    HWND MessageWindow() const { return messageWindow_.Handle(); }
    using ListChildPointer::HoverChild;

    // ---- CBkListImpl ----------------------------------------------------------
    int ItemCount() const override { return static_cast<int>(items_.size()); }
    CBkWindow* ItemAt(int index) const override;
    RECT MapToHost(const CBkWindow& control, const RECT& rect) const override;

    // ---- Control ----------------------------------------------------------------
    void SetContainer(HWND host) override;
    // Passed to every item (and on to their children) in order.
    void RelayHostEvent(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The list routes the mouse itself: it is hit as a whole.
    std::int32_t HitTest(int x, int y) override;
    bool RedrawRegion(HDC dc, HRGN region) override;
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;
    CBkWindow* FindChildById(std::int32_t id) override;
    void RepositionChildren() override { Relayout(true); }
    void RepositionChild(CBkWindow* /*child*/) override { Relayout(true); }
    // The hover child's tip, else the list's own.
    const std::wstring& GetToolTipText() const override {
        return HoverChildTipOr(CBkDialog::GetToolTipText());
    }
    void SetControlCursor() override;
    // A screen reader meets the list as one document: its value is the text
    // of the items' content, item by item.
    DWORD AccessibleRole() const override;
    std::wstring AccessibleValue() const override;

  protected:
    // Named only by markup: the hover child's tip is no name for the list.
    std::wstring AccessibleNameFromContent() const override { return std::wstring(); }

  private:
    // What the items and bar are given as their host window.
    HWND ChildHost() const;
    void DestroyItems();
    // Moves the content by `offset` and places the items from its top.
    void PlaceContent(int offset, bool layoutChildren);
    void ScrollContentTo(int position, bool layoutChildren);
    // Asks the host to repaint `rect` (list coordinates), clipped to the list.
    void InvalidateInHost(const RECT& rect) const;
    void InvalidateList() const;
    void OnSmoothScrollTimer();

    LRESULT ProcessMsgBack(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    CBkWindow* ChildAt(POINT point) override;
    void ReportEvent(PointerEvent event, CBkWindow& child) override;
    bool OpensLinks() const override { return false; }

    std::string scrollClass_ = "listscrollbar";
    // 1: items span the whole width under the bar; 0: they end where a
    // visible bar begins.
    int externLine_ = 1;
    CBkListMessageWnd messageWindow_;
    std::vector<std::unique_ptr<CBkListItem>> items_;
    std::unique_ptr<CBkWindowScollBar> bar_;
    // The items' area in list coordinates; its top moves with scrolling.
    RECT content_ = {};
    // The off-screen bitmap, kept while the list keeps its size: making one
    // costs more than painting the items.
    Dib32 offscreen_;
    ListSmoothScroll smooth_;
};

}  // namespace velora
