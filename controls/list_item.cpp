#include "controls/list_item.h"

#include "ui/message_params.h"
#include "base/gdi_scopes.h"
#include "markup/attribute_reader.h"
#include "markup/style_pool.h"
#include "markup/value_parsers.h"
#include "ui/host_messages.h"
#include "ui/text_painter.h"

namespace velora {
namespace {

// Items are only small integers apart; the index travels in both halves.
int IndexFromResult(LRESULT result) {
    return static_cast<short>(LOWORD(result));
}

}  // namespace

bool CBkListItem::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkListItem::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const auto height = [this](const std::string& text) {
        const int height = ParseDecimal(text);
        if (height < 0) {
            return false;
        }
        if (height != height_) {
            height_ = height;
            layoutPending_ = true;
        }
        return true;
    };
    const AttributeReader r(name, value);
    return CBkDialog::SetAttribute(name, value, loading) || r.Apply("height", height) ||
           r.Int("viewvisible", viewVisible_);
}

SIZE CBkListItem::MeasureContent(SIZE /*available*/) {
    return SIZE{20, height_};
}

// ---- Placement ------------------------------------------------------------------

void CBkListItem::PlaceInList(const RECT& rect, bool pureScroll) {
    MutableRect() = rect;
    if (!InView()) {
        // Laying out hidden children is wasted work, but it must happen once
        // the item shows, or it would keep a layout for an old size.
        if (!pureScroll) {
            layoutPending_ = true;
        }
        return;
    }
    if (!pureScroll || layoutPending_) {
        layoutPending_ = false;
        RepositionChildren();
    }
}

RECT CBkListItem::LocalChildArea() const {
    const BkStyle& style = Style();
    const RECT& rect = Rect();
    return RECT{style.xMargin, style.yMargin, rect.right - rect.left - style.xMargin,
                rect.bottom - rect.top - style.yMargin};
}

void CBkListItem::RepositionChildren() {
    const RECT area = LocalChildArea();
    for (const auto& child : Children()) {
        PlaceChild(child.get(), area);
    }
}

void CBkListItem::RepositionChild(CBkWindow* child) {
    PlaceChild(child, LocalChildArea());
}

// ---- Painting -------------------------------------------------------------------

void CBkListItem::PaintInList(HDC dc, HRGN region) {
    const RECT& rect = Rect();
    if (region != nullptr && !::RectInRegion(region, &rect)) {
        return;
    }
    const ScopedSavedDc saved(dc);
    ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    DrawBackground(dc);
    PaintContent(dc);

    // Children are placed relative to the item.
    ::SetViewportOrgEx(dc, rect.left, rect.top, nullptr);
    ScopedRegion childRegion;
    if (region != nullptr) {
        childRegion.Reset(::CreateRectRgn(0, 0, 0, 0));
        ::CombineRgn(childRegion.Get(), region, nullptr, RGN_COPY);
        ::OffsetRgn(childRegion.Get(), -rect.left, -rect.top);
    }
    {
        // Children inherit the item's font and colours.
        ScopedTextDc prepared(dc, *this);
        ::SetBkMode(dc, TRANSPARENT);
        for (const auto& child : Children()) {
            if (!Has(child->State(), ControlState::kHidden)) {
                child->RedrawRegion(dc, region != nullptr ? childRegion.Get() : nullptr);
            }
        }
    }
}

// ---- Input ----------------------------------------------------------------------

std::int32_t CBkListItem::HitTest(int x, int y) {
    const POINT point = {x, y};
    return ::PtInRect(&Rect(), point) ? Handle() : 0;
}

bool CBkListItem::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result) {
    result = 0;
    // Mouse points arrive in list coordinates.
    if (RouteMouse(message, wParam, lParam)) {
        // The item's own notify mask sees moves and leaves too.
        CBkWindow::HandleMessage(host, message, wParam, lParam, result);
        SetMessageHandled(true);
        return true;
    }
    switch (message) {
        case WM_MOUSEWHEEL:
            // The list scrolls, wherever the wheel was turned.
            if (CBkWindow* list = Parent()) {
                result = list->SendControlMessage(message, wParam, lParam);
            }
            break;
        case WM_WINDOWPOSCHANGED:
            if (lParam != 0) {
                const auto& placement = ParamAt<const WINDOWPOS>(lParam);
                PlaceInList(RECT{placement.x, placement.y, placement.x + placement.cx,
                                 placement.y + placement.cy},
                            false);
            }
            break;
        default:
            return CBkDialog::HandleMessage(host, message, wParam, lParam, result);
    }
    SetMessageHandled(true);
    return true;
}

CBkWindow* CBkListItem::ChildAt(POINT point) {
    const auto& children = Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CBkWindow& child = **it;
        if (Has(child.State(), ControlState::kHidden) || child.IsTransparent()) {
            continue;
        }
        if (child.HitTest(point.x, point.y) != 0) {
            return &child;
        }
    }
    return nullptr;
}

void CBkListItem::ReportEvent(PointerEvent event, CBkWindow& child) {
    CBkWindow* list = Parent();
    if (child.Id() == 0 || list == nullptr) {
        return;  // only children with an id are worth reporting
    }
    const int index = IndexFromResult(list->SendControlMessage(kMsgListItemIndex, Handle()));
    SendListNotify(*list, kItemEventBase + static_cast<int>(event), index, *this, &child);
}

void CBkListItem::SetControlCursor() {
    if (!SetHoverChildCursor()) {
        CBkDialog::SetControlCursor();
    }
}

}  // namespace velora
