#include "ui/bk_tab.h"

#include <cstring>

#include <tinyxml.h>

#include "markup/font_pool.h"
#include "markup/style_pool.h"
#include "markup/value_parsers.h"
#include "ui/notification.h"

namespace velora {

bool CBkTab::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkTab::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkDialog::SetAttribute(name, value, loading)) {
        return true;
    }
    if (name == "title") {
        title_ = Utf8ToUtf16(value);
    } else if (name == "hide") {
        hide_ = ParseDecimal(value);
    } else {
        return false;
    }
    return true;
}

bool CBkTabCtrl::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

CBkTabCtrl::~CBkTabCtrl() {
    DestroyPages();
}

bool CBkTabCtrl::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const struct {
        const char* name;
        int CBkTabCtrl::*field;
    } ints[] = {{"cursel", &CBkTabCtrl::current_},        {"tabwidth", &CBkTabCtrl::tabWidth_},
                {"tabheight", &CBkTabCtrl::tabHeight_},   {"tabpos", &CBkTabCtrl::tabPos_},
                {"tabspacing", &CBkTabCtrl::tabSpacing_}, {"framepos", &CBkTabCtrl::framePos_},
                {"vertfont", &CBkTabCtrl::vertFont_},     {"icon-x", &CBkTabCtrl::iconX_},
                {"icon-y", &CBkTabCtrl::iconY_},          {"text-x", &CBkTabCtrl::textX_},
                {"text-y", &CBkTabCtrl::textY_}};
    for (const auto& field : ints) {
        if (name == field.name) {
            this->*field.field = ParseDecimal(value);
            return true;
        }
    }
    const struct {
        const char* name;
        std::string CBkTabCtrl::*field;
    } skins[] = {{"tabskin", &CBkTabCtrl::tabSkin_},
                 {"frameskin", &CBkTabCtrl::frameSkin_},
                 {"iconskin", &CBkTabCtrl::iconSkin_},
                 {"splitterskin", &CBkTabCtrl::splitterSkin_}};
    for (const auto& field : skins) {
        if (name == field.name) {
            this->*field.field = value;
            return true;
        }
    }
    if (name == "tabtext") {
        tabText_ = ParseColor(value);
    } else if (name == "Selfont") {
        selectedFont_ = BkFontPool::Instance().GetFont(ParseHexCode(value));
    } else if (name == "tabalign") {
        if (value == "top") {
            tabAlignLeft_ = false;
        } else if (value == "left") {
            tabAlignLeft_ = true;
        } else {
            return false;
        }
    } else {
        return false;
    }
    return true;
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
        pages_[i]->SendControlMessage(WM_SHOWWINDOW, show ? 1 : 0);
    }
    const bool currentUsable = current_ > 0 && current_ < static_cast<int>(pages_.size()) &&
                               !pages_[current_]->IsHiddenPage();
    if (!currentUsable) {
        current_ = firstVisible < 0 ? 0 : firstVisible;
    }
    return true;
}

SIZE CBkTabCtrl::HeaderSize() const {
    // Without explicit sizes the header takes the tab skin's size, which the
    // skin pool supplies; until a skin is known a 0 stays 0.
    return SIZE{tabWidth_, tabHeight_};
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
        ::SendMessageW(Host(), WM_NOTIFY, static_cast<WPARAM>(dialogId),
                       reinterpret_cast<LPARAM>(&record));
        if (record.cancel != 0) {
            return;
        }
    }
    RepaintHeader(current_);
    RepaintHeader(index);
    if (current_ >= 0 && current_ < static_cast<int>(pages_.size())) {
        pages_[current_]->SendControlMessage(WM_SHOWWINDOW, 0);
    }
    current_ = index;
    pages_[current_]->SendControlMessage(WM_SHOWWINDOW, 1);
    PlacePage(pages_[current_].get());
    if (Host() != nullptr) {
        const RECT whole = FrameRect();
        ::InvalidateRect(Host(), &whole, FALSE);
    }
}

void CBkTabCtrl::ShowNativeWindows(bool show) {
    if (current_ >= 0 && current_ < static_cast<int>(pages_.size())) {
        pages_[current_]->ShowNativeWindows(show && !(State() & kStateHidden));
    }
}

bool CBkTabCtrl::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) {
    result = 0;
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
        case WM_WINDOWPOSCHANGED:
            if (lParam != 0) {
                TakeNewPosition(*reinterpret_cast<const WINDOWPOS*>(lParam));
            }
            RepositionChildren();
            break;
        case WM_DESTROY:
            DestroyPages();
            break;
        case WM_SHOWWINDOW:
            ApplyShowFlag(wParam != 0);
            if (current_ >= 0 && current_ < static_cast<int>(pages_.size())) {
                pages_[current_]->SendControlMessage(WM_SHOWWINDOW, wParam);
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
