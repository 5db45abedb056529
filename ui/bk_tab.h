#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/bk_container.h"

namespace velora {

// "tab": one page of a tab control (made only by "tabctrl").
class CBkTab : public CBkDialog {
  public:
    static constexpr char kTag[] = "tab";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::wstring& Title() const { return title_; }
    bool IsHiddenPage() const { return hide_ != 0; }

  private:
    std::wstring title_;
    int hide_ = 0;
};

// "tabctrl": a row (or column) of headers over a frame showing one page.
class CBkTabCtrl : public CBkContainerWnd {
  public:
    static constexpr char kTag[] = "tabctrl";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool TakesHeaderPress() const override { return true; }
    bool TakesHeaderDoubleClick() const override { return true; }

    ~CBkTabCtrl() override;

    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;
    void SetContainer(HWND host) override;
    std::int32_t HitTest(int x, int y) override;
    // Itself (frame and headers), then its visible pages.
    bool RedrawRegion(HDC dc, HRGN region) override;
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

    CBkWindow* FindChildById(std::int32_t id) override;
    void RepositionChildren() override;
    void RepositionChild(CBkWindow* child) override;
    bool LoadChildren(const TiXmlElement* first) override;
    void ShowNativeWindows(bool show) override;
    // The tab stops of its pages, in page order (only the shown page's take the focus).
    void AppendTabStops(std::vector<std::int32_t>& stops) const override;

    // Asks the host (page-change record) and, unless refused, shows page `index`.
    void SelectPage(int index);
    int CurrentPage() const { return current_; }
    int HoveredHeader() const { return hovered_; }
    std::size_t PageCount() const { return pages_.size(); }
    CBkTab* Page(std::size_t index) const { return pages_[index].get(); }
    // Header rectangle of page `index` (meaningful for pages that are not hidden).
    RECT HeaderRect(int index) const;
    // The area pages fill, before style margins.
    RECT FrameRect() const;

  protected:
    // Frame, headers, splitters, icons and titles; the selected header last.
    void PaintContent(HDC dc) override;

  private:
    void PaintHeader(HDC dc, int index, int tabState) const;
    SIZE HeaderSize() const;
    bool HeadersOnLeft() const { return tabAlignLeft_; }
    int HeaderAt(POINT point) const;
    void RepaintHeader(int index) const;
    void DestroyPages();
    // Sends a page the frame (less the style margins) as its placement.
    void PlacePage(CBkTab* page);

    std::vector<std::unique_ptr<CBkTab>> pages_;
    int current_ = 0;
    int hovered_ = -1;
    int tabWidth_ = 0;
    int tabHeight_ = 0;
    int tabPos_ = 0;
    int tabSpacing_ = 0;
    int framePos_ = 0;
    int vertFont_ = 0;
    int iconX_ = 0;
    int iconY_ = 0;
    int textX_ = 0;
    int textY_ = 0;
    COLORREF tabText_ = static_cast<COLORREF>(-1);
    HFONT selectedFont_ = nullptr;
    bool tabAlignLeft_ = false;
    std::string tabSkin_;
    std::string frameSkin_;
    std::string iconSkin_;
    std::string splitterSkin_;
};

}  // namespace velora
