#include "ui/bk_tab.h"

#include <cstring>

#include <tinyxml.h>

#include "ui/message_params.h"
#include "ui/host_link.h"
#include "base/gdi_scopes.h"
#include "markup/attribute_reader.h"
#include "markup/skin_base.h"
#include "markup/skin_pool.h"
#include "markup/style_pool.h"
#include "ui/notification.h"
#include "ui/text_painter.h"

namespace velora {

bool CBkTab::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkTab::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkDialog::SetAttribute(name, value, loading) || r.WideText("title", title_) ||
           r.Int("hide", hide_);
}

bool CBkTabCtrl::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

CBkTabCtrl::~CBkTabCtrl() {
    DestroyPages();
}

bool CBkTabCtrl::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    static constexpr AttributeWord<bool> kTabAligns[] = {{"top", false}, {"left", true}};
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Int("cursel", current_) ||
           r.Int("tabwidth", tabWidth_) || r.Int("tabheight", tabHeight_) ||
           r.Int("tabpos", tabPos_) || r.Int("tabspacing", tabSpacing_) ||
           r.Int("framepos", framePos_) || r.Int("vertfont", vertFont_) ||
           r.Int("icon-x", iconX_) || r.Int("icon-y", iconY_) || r.Int("text-x", textX_) ||
           r.Int("text-y", textY_) || r.Text("tabskin", tabSkin_) ||
           r.Text("frameskin", frameSkin_) || r.Text("iconskin", iconSkin_) ||
           r.Text("splitterskin", splitterSkin_) || r.Color("tabtext", tabText_) ||
           r.Font("Selfont", selectedFont_) || r.Enum("tabalign", kTabAligns, tabAlignLeft_);
}

void CBkTabCtrl::SetContainer(HWND host) {
    CBkWindow::SetContainer(host);
    for (auto& page : pages_) {
        page->SetContainer(host);
    }
}

void CBkTabCtrl::DestroyPages() {
    std::vector<std::unique_ptr<CBkTab>> pages;
    pages.swap(pages_);
    for (auto& page : pages) {
        page->SendControlMessage(WM_DESTROY);
    }
}

bool CBkTabCtrl::LoadChildren(const TiXmlElement* first) {
    DestroyPages();
    for (const TiXmlElement* element = first; element; element = element->NextSiblingElement()) {
        if (std::strcmp(element->Value(), CBkTab::kTag) != 0) {
            continue;  // only pages belong here
        }
        auto page = std::make_unique<CBkTab>();
        page->SetStandardTier(StandardTier());
        page->SetParentHandle(Handle());
        page->SetContainer(Host());
        page->Load(element);
        page->SetAttribute("pos", "0,0,-0,-0", true);
        pages_.push_back(std::move(page));
    }
    int firstVisible = -1;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const bool show = firstVisible < 0 && !pages_[i]->IsHiddenPage();
        if (show) {
            firstVisible = static_cast<int>(i);
        }
        pages_[i]->SetShown(show);
    }
    const bool currentUsable = current_ > 0 && current_ < static_cast<int>(pages_.size()) &&
                               !pages_[current_]->IsHiddenPage();
    if (!currentUsable) {
        current_ = firstVisible < 0 ? 0 : firstVisible;
    }
    return true;
}

namespace {

CBkSkinBase* SkinNamed(const std::string& name) {
    return name.empty() ? nullptr : BkSkinObjectPool::Instance().GetSkin(name);
}

}  // namespace

SIZE CBkTabCtrl::HeaderSize() const {
    // A header side left at 0 takes the tab skin's size.
    SIZE size = {tabWidth_, tabHeight_};
    if (size.cx == 0 || size.cy == 0) {
        if (CBkSkinBase* tab = SkinNamed(tabSkin_)) {
            const SIZE skinSize = tab->GetSkinSize();
            size.cx = size.cx == 0 ? skinSize.cx : size.cx;
            size.cy = size.cy == 0 ? skinSize.cy : size.cy;
        }
    }
    return size;
}

void CBkTabCtrl::PaintHeader(HDC dc, int index, int tabState) const {
    const RECT header = HeaderRect(index);
    if (CBkSkinBase* tab = SkinNamed(tabSkin_)) {
        tab->Draw(dc, header, tabState);
    }
    if (CBkSkinBase* icon = SkinNamed(iconSkin_)) {
        const SIZE size = icon->GetSkinSize();
        const RECT place = {header.left + iconX_, header.top + iconY_,
                            header.left + iconX_ + size.cx, header.top + iconY_ + size.cy};
        icon->Draw(dc, place, index);
    }
    RECT text = header;
    ::OffsetRect(&text, textX_, textY_);
    const BkStyle& style = Style();
    DrawFixedFormatText(dc, pages_[index]->Title(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                        style.shadow, ::GetTextColor(dc), style.crShadow);
}

void CBkTabCtrl::PaintContent(HDC dc) {
    const BkStyle& style = Style();
    if (CBkSkinBase* frame = SkinNamed(frameSkin_)) {
        frame->Draw(dc, FrameRect(), 0);
    }
    const ScopedSavedDc saved(dc);
    ::SetBkMode(dc, TRANSPARENT);
    const COLORREF text = tabText_ != kNoColor         ? tabText_
                          : OwnTextColor() != kNoColor ? OwnTextColor()
                                                       : style.crText;
    if (text != kNoColor) {
        ::SetTextColor(dc, text);
    }
    if (style.font != nullptr) {
        ::SelectObject(dc, style.font);
    }
    int remaining = 0;
    for (const auto& page : pages_) {
        remaining += page->IsHiddenPage() ? 0 : 1;
    }
    CBkSkinBase* splitter = SkinNamed(splitterSkin_);
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
        if (pages_[i]->IsHiddenPage()) {
            continue;
        }
        if (remaining-- > 1 && splitter != nullptr) {
            // Centred in the gap after the header, narrowed to the splitter's size.
            const RECT at = HeaderRect(i);
            const SIZE size = splitter->GetSkinSize();
            RECT strip = at;
            if (HeadersOnLeft()) {
                strip.top = at.bottom + (tabSpacing_ - size.cy) / 2;
                strip.bottom = strip.top + size.cy;
            } else {
                strip.left = at.right + (tabSpacing_ - size.cx) / 2;
                strip.right = strip.left + size.cx;
            }
            splitter->Draw(dc, strip, -1);
        }
        if (i != current_) {
            PaintHeader(dc, i, i == hovered_ ? 1 : 0);
        }
    }
    if (current_ >= 0 && current_ < static_cast<int>(pages_.size()) &&
        !pages_[current_]->IsHiddenPage()) {
        if (style.crHover != kNoColor) {
            ::SetTextColor(dc, style.crHover);
        }
        if (selectedFont_ != nullptr) {
            ::SelectObject(dc, selectedFont_);
        }
        PaintHeader(dc, current_, 2);
    }
}

RECT CBkTabCtrl::HeaderRect(int index) const {
    const SIZE size = HeaderSize();
    int before = 0;
    for (int i = 0; i < index && i < static_cast<int>(pages_.size()); ++i) {
        if (!pages_[i]->IsHiddenPage()) {
            ++before;
        }
    }
    RECT header = {Rect().left, Rect().top, Rect().left + size.cx, Rect().top + size.cy};
    const int step = tabPos_ + before * (tabSpacing_ + (HeadersOnLeft() ? size.cy : size.cx));
    ::OffsetRect(&header, HeadersOnLeft() ? 0 : step, HeadersOnLeft() ? step : 0);
    return header;
}

RECT CBkTabCtrl::FrameRect() const {
    const SIZE size = HeaderSize();
    RECT frame = Rect();
    if (HeadersOnLeft()) {
        frame.left += size.cx + framePos_;
    } else {
        frame.top += framePos_ + size.cy;
    }
    return frame;
}

void CBkTabCtrl::RepositionChildren() {
    for (auto& page : pages_) {
        PlacePage(page.get());
    }
}

void CBkTabCtrl::PlacePage(CBkTab* page) {
    const BkStyle& style = Style();
    RECT frame = FrameRect();
    ::InflateRect(&frame, -style.xMargin, -style.yMargin);
    SendPlacement(page, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
}

void CBkTabCtrl::RepositionChild(CBkWindow* /*child*/) {
    RepositionChildren();
}

CBkWindow* CBkTabCtrl::FindChildById(std::int32_t id) {
    for (auto& page : pages_) {
        if (page->Id() == id) {
            return page.get();
        }
        if (CBkWindow* found = page->FindChildById(id)) {
            return found;
        }
    }
    return nullptr;
}

int CBkTabCtrl::HeaderAt(POINT point) const {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i]->IsHiddenPage()) {
            continue;
        }
        const RECT header = HeaderRect(static_cast<int>(i));
        if (::PtInRect(&header, point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::int32_t CBkTabCtrl::HitTest(int x, int y) {
    const POINT point = {x, y};
    if (!::PtInRect(&Rect(), point)) {
        return 0;
    }
    const RECT frame = FrameRect();
    if (!::PtInRect(&frame, point) || current_ < 0 || current_ >= static_cast<int>(pages_.size())) {
        return Handle();
    }
    return pages_[current_]->HitTest(x, y);
}

bool CBkTabCtrl::RedrawRegion(HDC dc, HRGN region) {
    if (!CBkWindow::RedrawRegion(dc, region)) {
        return false;
    }
    for (auto& page : pages_) {
        if (!Has(page->State(), ControlState::kHidden)) {
            page->RedrawRegion(dc, region);
        }
    }
    return true;
}

void CBkTabCtrl::RepaintHeader(int index) const {
    if (index < 0 || Host() == nullptr) {
        return;
    }
    const RECT header = HeaderRect(index);
    ::InvalidateRect(Host(), &header, FALSE);
}

void CBkTabCtrl::SelectPage(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size()) || index == current_) {
        return;
    }
    if (Host() != nullptr) {
        const int dialogId = ::GetDlgCtrlID(Host());
        BkNotifyPageChange record = {};
        record.hdr.hwndFrom = Host();
        record.hdr.idFrom = static_cast<UINT_PTR>(dialogId);
        record.hdr.code = kNotifyPageChange;
        record.controlId = static_cast<UINT>(Id());
        record.newIndex = index;
        record.oldIndex = current_;
        NotifyHost(Host(), static_cast<WPARAM>(dialogId), record.hdr);
        if (record.cancel != 0) {
            return;
        }
    }
    RepaintHeader(current_);
    RepaintHeader(index);
    if (current_ >= 0 && current_ < static_cast<int>(pages_.size())) {
        pages_[current_]->SetShown(false);
    }
    current_ = index;
    pages_[current_]->SetShown(true);
    PlacePage(pages_[current_].get());
    if (Host() != nullptr) {
        const RECT whole = FrameRect();
        ::InvalidateRect(Host(), &whole, FALSE);
    }
}

void CBkTabCtrl::AppendTabStops(std::vector<std::int32_t>& stops) const {
    for (const auto& page : pages_) {
        page->AppendTabStops(stops);
    }
}

void CBkTabCtrl::ShowNativeWindows(bool show) {
    if (current_ >= 0 && current_ < static_cast<int>(pages_.size())) {
        pages_[current_]->ShowNativeWindows(show && !Has(State(), ControlState::kHidden));
    }
}

bool CBkTabCtrl::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) {
    result = 0;
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
        case WM_WINDOWPOSCHANGED:
            if (lParam != 0) {
                TakeNewPosition(ParamAt<const WINDOWPOS>(lParam));
            }
            RepositionChildren();
            break;
        case WM_DESTROY:
            DestroyPages();
            break;
        case WM_SHOWWINDOW:
            ApplyShowFlag(wParam != 0);
            if (current_ >= 0 && current_ < static_cast<int>(pages_.size())) {
                pages_[current_]->SetShown(wParam != 0);
            }
            break;
        case WM_LBUTTONDOWN: {
            const int header = HeaderAt(point);
            if (header >= 0 && header != current_) {
                SelectPage(header);
            }
            break;
        }
        case WM_MOUSEMOVE: {
            const int header = HeaderAt(point);
            if (header != hovered_) {
                RepaintHeader(hovered_);
                hovered_ = header;
                RepaintHeader(hovered_);
            }
            break;
        }
        case WM_MOUSELEAVE:
            if (hovered_ >= 0) {
                RepaintHeader(hovered_);
                hovered_ = -1;
            }
            break;
        default:
            return CBkWindow::HandleMessage(host, message, wParam, lParam, result);
    }
    SetMessageHandled(true);
    return true;
}

}  // namespace velora
