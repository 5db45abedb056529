#include "controls/list_controls.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdlib>

#include <tinyxml.h>

#include "ui/message_params.h"
#include "base/gdi_scopes.h"
#include "controls/skin_cells.h"
#include "markup/attribute_reader.h"
#include "ui/control_registry.h"
#include "ui/host_messages.h"
#include "ui/notification.h"

namespace velora {
namespace {

// List-level event codes for the scroll bar, in PointerEvent order.
constexpr int kBarEventCodes[] = {5, 2, 1, 4, 3, 6, 7};
constexpr int kWheelNotch = 120;
// Parent chains inside a list are short; this only stops a corrupt chain.
constexpr int kMaxDepth = 64;

bool IsShown(const CBkWindow& control) {
    return !Has(control.State(), ControlState::kHidden);
}

}  // namespace

CBkListWnd::CBkListWnd() : ListChildPointer(static_cast<CBkWindow&>(*this)), messageWindow_(this) {}

CBkListWnd::~CBkListWnd() {
    DestroyItems();
    if (bar_) {
        bar_->SendControlMessage(WM_DESTROY);
    }
}

bool CBkListWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkListWnd::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkDialog::SetAttribute(name, value, loading) || r.Text("scrollclass", scrollClass_) ||
           r.Int("externline", externLine_);
}

// ---- Loading and layout -------------------------------------------------------------

HWND CBkListWnd::ChildHost() const {
    return MessageWindow() != nullptr ? MessageWindow() : Host();
}

void CBkListWnd::SetContainer(HWND host) {
    CBkDialog::SetContainer(host);
    for (auto& item : items_) {
        item->SetContainer(ChildHost());
    }
    if (bar_) {
        bar_->SetContainer(ChildHost());
    }
}

void CBkListWnd::RelayHostEvent(UINT message, WPARAM wParam, LPARAM lParam) {
    for (auto& item : items_) {
        item->RelayHostEvent(message, wParam, lParam);
    }
}

bool CBkListWnd::Load(const TiXmlElement* element) {
    if (bar_) {
        bar_->SendControlMessage(WM_DESTROY);
        bar_.reset();
    }
    const bool loaded = CBkDialog::Load(element);
    std::unique_ptr<CBkWindow> made = CreateChild(scrollClass_.c_str());
    if (made && (made->IsClass(CBkWindowScollBar::kTag) ||
                 dynamic_cast<CBkWindowScollBar*>(made.get()) != nullptr)) {
        bar_.reset(static_cast<CBkWindowScollBar*>(made.release()));
        bar_->SetParentHandle(Handle());
        bar_->SetContainer(ChildHost());
    } else if (made) {
        made->SendControlMessage(WM_DESTROY);
    }
    return loaded;
}

bool CBkListWnd::LoadChildren(const TiXmlElement* first) {
    DestroyItems();
    for (const TiXmlElement* element = first; element; element = element->NextSiblingElement()) {
        std::unique_ptr<CBkWindow> child = CreateChild(element->Value());
        auto* item = dynamic_cast<CBkListItem*>(child.get());
        if (item == nullptr) {
            if (child) {
                child->SendControlMessage(WM_DESTROY);
            }
            continue;  // a list holds items only
        }
        child.release();
        std::unique_ptr<CBkListItem> owned(item);
        owned->SetParentHandle(Handle());
        owned->SetContainer(ChildHost());
        owned->Load(element);
        items_.push_back(std::move(owned));
    }
    return true;
}

void CBkListWnd::DestroyItems() {
    std::vector<std::unique_ptr<CBkListItem>> items;
    items.swap(items_);
    for (auto& item : items) {
        item->SendControlMessage(WM_DESTROY);
        item.reset();
    }
}

int CBkListWnd::ContentSize() const {
    int total = 0;
    for (const auto& item : items_) {
        if (IsShown(*item)) {
            total += item->ItemHeight();
        }
    }
    return total;
}

void CBkListWnd::Relayout(bool layoutChildren) {
    const int width = RectWidth(Rect());
    const int height = RectHeight(Rect());
    int barWidth = 0;
    int position = 0;
    bool barShown = false;
    const int contentHeight = ContentSize();
    if (bar_) {
        barWidth = bar_->BarWidth();
        bar_->SetBarRect(RECT{width - barWidth, 0, width, height});
        bar_->SetScrollInfo(height, contentHeight);
        position = bar_->ScrollPosition();
        barShown = IsShown(*bar_);
    }
    content_ = RECT{0, 0, width, contentHeight};
    if (externLine_ == 0 && barShown) {
        content_.right = width - barWidth;
    }
    PlaceContent(-position, layoutChildren);
}

void CBkListWnd::PlaceContent(int offset, bool layoutChildren) {
    ::OffsetRect(&content_, 0, offset);
    const int height = RectHeight(Rect());
    int y = content_.top;
    for (auto& item : items_) {
        if (!IsShown(*item)) {
            item->SetAttribute("viewvisible", "0", false);
            continue;  // a hidden item takes no room
        }
        const int itemHeight = item->ItemHeight();
        const bool inView = !(y + itemHeight < 0 || y > height);
        item->SetAttribute("viewvisible", inView ? "1" : "0", false);
        item->PlaceInList(RECT{content_.left, y, content_.right, y + itemHeight}, !layoutChildren);
        y += itemHeight;
    }
    InvalidateList();
}

bool CBkListWnd::ReorderItems(const std::vector<int>& order) {
    const std::size_t count = items_.size();
    if (order.size() != count) {
        return false;
    }
    std::vector<bool> seen(count, false);
    for (int index : order) {
        if (index < 0 || static_cast<std::size_t>(index) >= count || seen[index]) {
            return false;
        }
        seen[index] = true;
    }
    std::vector<std::unique_ptr<CBkListItem>> reordered;
    reordered.reserve(count);
    for (int index : order) {
        reordered.push_back(std::move(items_[index]));
    }
    items_.swap(reordered);
    Relayout(false);
    return true;
}

// ---- Scrolling ------------------------------------------------------------------

void CBkListWnd::ScrollContentTo(int position, bool layoutChildren) {
    const int old = ScrollPosition();
    const int now = bar_ ? bar_->SetScrollPosition(position) : 0;
    PlaceContent(old - now, layoutChildren);
}

void CBkListWnd::SetScrollPos(int position, bool relayout) {
    ScrollContentTo(position, relayout);
}

void CBkListWnd::MakeItemVisible(int index) {
    if (index < 0 || index >= ItemCount()) {
        return;
    }
    int top = 0;
    for (int i = 0; i < index; ++i) {
        if (IsShown(*items_[i])) {
            top += items_[i]->ItemHeight();
        }
    }
    ScrollContentTo(top, false);
}

void CBkListWnd::ScrollToY(int y, bool relayout) {
    ScrollContentTo(y - content_.top, relayout);
}

void CBkListWnd::ScrollBy(int delta) {
    ScrollContentTo(ScrollPosition() - delta, true);
}

void CBkListWnd::ScrollByWheel(int delta) {
    if (!bar_ || !IsShown(*bar_)) {
        return;
    }
    const int distance = std::abs(delta) / kWheelNotch * kWheelStep;
    const int position = bar_->ScrollPosition();
    const int range = bar_->Range();
    // Toward the user scrolls down, never past the end nor above the top.
    const int step =
        delta < 1 ? std::min(distance, range - position) : -std::min(distance, position);
    if (step == 0) {
        return;
    }
    ScrollContentTo(position + step, false);
}

bool CBkListWnd::ScrollByKey(UINT key) {
    const int position = ScrollPosition();
    const int range = bar_ ? bar_->Range() : 0;
    // A page keeps one line of the last one in sight.
    const int page = bar_ ? std::max(kLineStep, bar_->Page() - kLineStep) : 0;
    int target = position;
    switch (key) {
        case VK_UP:
            target = position - kLineStep;
            break;
        case VK_DOWN:
            target = position + kLineStep;
            break;
        case VK_PRIOR:
            target = position - page;
            break;
        case VK_NEXT:
            target = position + page;
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = range;
            break;
        default:
            return false;
    }
    target = std::max(0, std::min(target, range));
    if (target != position) {
        ScrollContentTo(target, false);
    }
    return true;
}

void CBkListWnd::StartSmoothScroll(int distance, bool down) {
    smooth_.Start(distance, down);
    if (MessageWindow() != nullptr && smooth_.Active()) {
        ::SetTimer(MessageWindow(), ListSmoothScroll::kTimerId, ListSmoothScroll::kTickMilliseconds,
                   nullptr);
    }
}

void CBkListWnd::OnSmoothScrollTimer() {
    if (!bar_ || !IsShown(*bar_) || !smooth_.Active()) {
        smooth_.Stop();
    } else {
        ScrollContentTo(ScrollPosition() + smooth_.Tick(), false);
    }
    if (!smooth_.Active() && MessageWindow() != nullptr) {
        ::KillTimer(MessageWindow(), ListSmoothScroll::kTimerId);
    }
}

// ---- Children ---------------------------------------------------------------------

DWORD CBkListWnd::AccessibleRole() const {
    return ROLE_SYSTEM_DOCUMENT;
}

std::wstring CBkListWnd::AccessibleValue() const {
    std::wstring text;
    for (const auto& item : items_) {
        for (const auto& child : item->Children()) {
            std::wstring part = child->AccessibleValue();
            if (part.empty()) {
                part = child->AccessibleName();
            }
            if (!part.empty()) {
                text += text.empty() ? part : L"\n" + part;
            }
        }
    }
    return text;
}

CBkWindow* CBkListWnd::ItemAt(int index) const {
    return index >= 0 && index < ItemCount() ? items_[index].get() : nullptr;
}

int CBkListWnd::ItemIndex(std::int32_t handle) const {
    if (handle == 0) {
        return -1;
    }
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i]->Handle() == handle) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CBkWindow* CBkListWnd::FindChildById(std::int32_t id) {
    for (auto& item : items_) {
        if (item->Id() == id) {
            return item.get();
        }
    }
    for (auto& item : items_) {
        if (CBkWindow* found = item->FindChildById(id)) {
            return found;
        }
    }
    return nullptr;
}

RECT CBkListWnd::MapToHost(const CBkWindow& control, const RECT& rect) const {
    // Children of an item are relative to it; everything else inside the
    // list is in list coordinates already.
    RECT mapped = rect;
    const CBkWindow* current = &control;
    for (int depth = 0; current != this; ++depth) {
        const CBkWindow* parent = current->Parent();
        if (parent == nullptr || depth > kMaxDepth) {
            return RECT{};  // not inside this list
        }
        if (parent != this && dynamic_cast<const CBkListItem*>(parent) != nullptr) {
            ::OffsetRect(&mapped, parent->Rect().left, parent->Rect().top);
        }
        current = parent;
    }
    const RECT& list = Rect();
    const RECT bounds = {0, 0, RectWidth(list), RectHeight(list)};
    if (!::IntersectRect(&mapped, &mapped, &bounds)) {
        return RECT{};
    }
    ::OffsetRect(&mapped, list.left, list.top);
    return mapped;
}

CBkWindow* CBkListWnd::ChildAt(POINT point) {
    if (bar_ && IsShown(*bar_) && ::PtInRect(&bar_->Rect(), point)) {
        return bar_.get();
    }
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        CBkListItem& item = **it;
        if (IsShown(item) && !item.IsTransparent() && ::PtInRect(&item.Rect(), point)) {
            return &item;
        }
    }
    return nullptr;
}

// ---- Input and messages -------------------------------------------------------------

std::int32_t CBkListWnd::HitTest(int x, int y) {
    const POINT point = {x, y};
    return ::PtInRect(&Rect(), point) ? Handle() : 0;
}

bool CBkListWnd::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) {
    result = 0;
    // Host client coordinates in, list coordinates out.
    if (RouteMouse(message, wParam, lParam)) {
        // The list's own notify mask sees moves and leaves too.
        CBkWindow::HandleMessage(host, message, wParam, lParam, result);
        SetMessageHandled(true);
        return true;
    }
    switch (message) {
        case WM_WINDOWPOSCHANGED: {
            if (lParam == 0) {
                return CBkDialog::HandleMessage(host, message, wParam, lParam, result);
            }
            const RECT old = Rect();
            TakeNewPosition(ParamAt<const WINDOWPOS>(lParam));
            const bool resized =
                RectWidth(old) != RectWidth(Rect()) || RectHeight(old) != RectHeight(Rect());
            Relayout(resized);
            break;
        }
        case WM_DESTROY:
            DestroyItems();
            if (bar_) {
                bar_->SendControlMessage(WM_DESTROY);
                bar_.reset();
            }
            break;
        case WM_MOUSEWHEEL:
            ScrollByWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            break;
        case kMsgListScrollContent:
            // The bar moved by wParam position units: the content follows.
            PlaceContent(-static_cast<int>(static_cast<INT_PTR>(wParam)), false);
            break;
        case kMsgListItemIndex: {
            const int index = ItemIndex(static_cast<std::int32_t>(wParam));
            const WORD half = static_cast<WORD>(index);
            result = static_cast<LRESULT>(static_cast<std::int32_t>(MAKELONG(half, half)));
            break;
        }
        default:
            return CBkDialog::HandleMessage(host, message, wParam, lParam, result);
    }
    SetMessageHandled(true);
    return true;
}

LRESULT CBkListWnd::ProcessMsgBack(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == ListSmoothScroll::kTimerId) {
                OnSmoothScrollTimer();
                return 0;
            }
            return ::DefWindowProcW(window, message, wParam, lParam);
        case WM_NOTIFY: {
            const auto* header = ParamAddress<const NMHDR>(lParam);
            if (header != nullptr && header->code == kNotifyRepaint) {
                // A control inside the list asks for a repaint of part of itself.
                const auto* request = ParamAddress<const BkNotifyRepaint>(lParam);
                const CBkWindow* control =
                    BkControlRegistry::Instance().Find(request->controlHandle);
                if (control != nullptr) {
                    RECT mapped = MapToHost(*control, request->rect);
                    ::OffsetRect(&mapped, -Rect().left, -Rect().top);
                    InvalidateInHost(mapped);
                }
                return 0;
            }
            return Host() != nullptr ? ::SendMessageW(Host(), message, wParam, lParam) : 0;
        }
        case kMsgSetToolTipText:
        case kMsgGetHostWindow:
        case kMsgIsLayeredHost:
            return Host() != nullptr ? ::SendMessageW(Host(), message, wParam, lParam) : 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void CBkListWnd::ReportEvent(PointerEvent event, CBkWindow& child) {
    const int e = static_cast<int>(event);
    if (&child == bar_.get()) {
        SendListNotify(*this, kBarEventCodes[e], -1, child, nullptr);
        return;
    }
    SendListNotify(*this, kItemEventBase + e, ItemIndex(child.Handle()), child, nullptr);
}

void CBkListWnd::SetControlCursor() {
    if (!SetHoverChildCursor()) {
        CBkDialog::SetControlCursor();
    }
}

}  // namespace velora
