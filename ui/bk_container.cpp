#include "ui/bk_container.h"

#include <oleacc.h>

#include <cstring>

#include <tinyxml.h>

#include "ui/message_params.h"
#include "base/gdi_scopes.h"
#include "markup/attribute_reader.h"
#include "markup/skin_pool.h"
#include "markup/style_pool.h"
#include "ui/accessible_actions.h"
#include "ui/control_creator.h"
#include "ui/text_painter.h"

namespace velora {

bool CBkContainerWnd::Load(const TiXmlElement* element) {
    if (!CBkWindow::Load(element)) {
        return false;
    }
    return LoadChildren(element->FirstChildElement());
}

RECT CBkContainerWnd::ChildArea() const {
    const BkStyle& style = Style();
    RECT area = Rect();
    area.left += style.xMargin;
    area.right -= style.xMargin;
    area.top += style.yMargin;
    area.bottom -= style.yMargin;
    return area;
}

void CBkContainerWnd::PlaceChild(CBkWindow* child, const RECT& area) {
    if (child == nullptr) {
        return;
    }
    const ChildPlacement where = PlaceInArea(area, child->Position().list);
    SendPlacement(child, where.x, where.y, where.availableWidth, where.availableHeight);
}

void CBkContainerWnd::SendPlacement(CBkWindow* child, int x, int y, int width, int height) {
    WINDOWPOS placement = {};
    placement.x = x;
    placement.y = y;
    placement.cx = width;
    placement.cy = height;
    child->Place(placement);
}

// ---- CBkDialog ----------------------------------------------------------------

bool CBkDialog::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

CBkDialog::~CBkDialog() {
    DestroyChildren();
}

bool CBkDialog::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    return CBkWindow::SetAttribute(name, value, loading) ||
           AttributeReader(name, value).Int("onlydrawchild", onlyDrawChild_);
}

void CBkDialog::SetContainer(HWND host) {
    CBkWindow::SetContainer(host);
    for (auto& child : children_) {
        child->SetContainer(host);
    }
}

void CBkDialog::RelayHostEvent(UINT message, WPARAM wParam, LPARAM lParam) {
    for (auto& child : children_) {
        child->RelayHostEvent(message, wParam, lParam);
    }
}

std::unique_ptr<CBkWindow> CBkDialog::CreateChild(const char* tag) {
    if (tag == nullptr) {
        return nullptr;
    }
    std::unique_ptr<CBkWindow> child;
    if (StandardTier() != nullptr) {
        child = StandardTier()->CreateControl(tag);
        // A dlg or dlgbtn made here inherits this container's extended tier.
        if (child && (child->IsClass(CBkDialog::kTag) || child->IsClass(CBkDialogButton::kTag))) {
            static_cast<CBkDialog*>(child.get())->SetCreator(creator_);
        }
    }
    if (!child && creator_ != nullptr) {
        child = creator_->CreateControl(tag);
    }
    if (auto* container = dynamic_cast<CBkContainerWnd*>(child.get())) {
        container->SetStandardTier(StandardTier());
    }
    return child;
}

bool CBkDialog::LoadChildren(const TiXmlElement* first) {
    DestroyChildren();
    for (const TiXmlElement* element = first; element; element = element->NextSiblingElement()) {
        std::unique_ptr<CBkWindow> child = CreateChild(element->Value());
        if (!child) {
            continue;  // unknown tag: the element and its subtree are skipped
        }
        child->SetParentHandle(Handle());
        child->SetContainer(Host());
        child->Load(element);
        children_.push_back(std::move(child));
    }
    return true;
}

void CBkDialog::DestroyChildren() {
    // Move the list out first so that nothing reaches a half-destroyed child.
    std::vector<std::unique_ptr<CBkWindow>> children;
    children.swap(children_);
    for (auto& child : children) {
        child->SendControlMessage(WM_DESTROY);
        child.reset();
    }
}

CBkWindow* CBkDialog::FindChildById(std::int32_t id) {
    for (auto& child : children_) {
        if (child->Id() == id) {
            return child.get();
        }
    }
    for (auto& child : children_) {
        if (child->IsContainer()) {
            if (CBkWindow* found = static_cast<CBkContainerWnd*>(child.get())->FindChildById(id)) {
                return found;
            }
        }
    }
    return nullptr;
}

void CBkDialog::RepositionChildren() {
    const RECT area = ChildArea();
    for (auto& child : children_) {
        PlaceChild(child.get(), area);
    }
}

void CBkDialog::RepositionChild(CBkWindow* child) {
    PlaceChild(child, ChildArea());
}

std::int32_t CBkDialog::HitTest(int x, int y) {
    const POINT point = {x, y};
    if (!::PtInRect(&Rect(), point)) {
        return 0;
    }
    if (onlyDrawChild_ != 0) {
        return Handle();
    }
    // Topmost (last) first; floating children before the others.
    for (bool floating : {true, false}) {
        for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
            CBkWindow& child = **it;
            const bool childFloats = (child.Position().flags & kFloating) != 0;
            if (Has(child.State(), ControlState::kHidden) || child.IsTransparent() ||
                childFloats != floating) {
                continue;
            }
            if (const std::int32_t hit = child.HitTest(x, y)) {
                return hit;
            }
        }
    }
    return Handle();
}

bool CBkDialog::RedrawRegion(HDC dc, HRGN region) {
    if (!CBkWindow::RedrawRegion(dc, region)) {
        return false;
    }
    // Children paint over the container's background, so their text cells stay
    // transparent; both are undone, in reverse, when the children are done.
    const ScopedTextDc prepared(dc, *this);
    const ScopedBkMode transparent(dc, TRANSPARENT);
    for (auto& child : children_) {
        if (!Has(child->State(), ControlState::kHidden)) {
            child->RedrawRegion(dc, region);
        }
    }
    return true;
}

bool CBkDialog::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_WINDOWPOSCHANGED:
            if (lParam != 0) {
                TakeNewPosition(ParamAt<const WINDOWPOS>(lParam));
            }
            RepositionChildren();
            break;
        case WM_DESTROY:
            DestroyChildren();
            break;
        case WM_PAINT:
            break;
        case WM_SHOWWINDOW:
            ApplyShowFlag(wParam != 0);
            ShowNativeWindows(wParam != 0);
            break;
        case WM_MOUSEMOVE: {
            const POINT point = {static_cast<short>(LOWORD(lParam)),
                                 static_cast<short>(HIWORD(lParam))};
            for (auto& child : children_) {
                if (!Has(child->State(), ControlState::kHidden) &&
                    ::PtInRect(&child->Rect(), point)) {
                    child->SendControlMessage(WM_MOUSEMOVE, wParam, lParam);
                }
            }
            break;
        }
        default:
            return CBkWindow::HandleMessage(host, message, wParam, lParam, result);
    }
    SetMessageHandled(true);
    return true;
}

void CBkDialog::AppendTabStops(std::vector<std::int32_t>& stops) const {
    if (IsTabStop()) {
        stops.push_back(Handle());
        return;
    }
    for (const auto& child : children_) {
        child->AppendTabStops(stops);
    }
}

void CBkDialog::ShowNativeWindows(bool show) {
    for (auto& child : children_) {
        const bool childShown = show && !Has(child->State(), ControlState::kHidden);
        // Only plain placeholders follow the walk; a realwndex follows its own
        // show messages.
        if (child->IsNativeWindowPlaceholder()) {
            HWND native = Host() ? ::GetDlgItem(Host(), child->Id()) : nullptr;
            if (native != nullptr) {
                ::ShowWindow(native, childShown && IsVisible() ? SW_SHOW : SW_HIDE);
            }
        } else if (child->IsClass(CBkDialog::kTag) || child->IsClass(CBkDialogButton::kTag) ||
                   child->IsClass("tabctrl")) {
            static_cast<CBkContainerWnd*>(child.get())->ShowNativeWindows(childShown);
        }
    }
}

// ---- CBkDialogButton / CBkDlgBtnEx2 -----------------------------------------------

bool CBkDialogButton::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

void CBkDialog::CollectAccessible(std::vector<const CBkWindow*>& controls) const {
    if (Has(State(), ControlState::kHidden)) {
        return;
    }
    if (AccessibleRole() != 0) {
        controls.push_back(this);
        return;
    }
    for (const auto& child : children_) {
        child->CollectAccessible(controls);
    }
}

bool CBkDialogButton::Load(const TiXmlElement* element) {
    const bool loaded = CBkDialog::Load(element);
    onlyDrawChild_ = 1;  // always hit and pressed as one button
    return loaded;
}

DWORD CBkDialogButton::AccessibleRole() const {
    return ROLE_SYSTEM_PUSHBUTTON;
}

std::wstring CBkDialogButton::AccessibleDefaultAction() const {
    return kActionPress;
}

std::wstring CBkDialogButton::AccessibleNameFromContent() const {
    std::wstring name;
    for (const auto& child : Children()) {
        const std::wstring part =
            Has(child->State(), ControlState::kHidden) ? std::wstring() : child->AccessibleName();
        if (!part.empty()) {
            name += name.empty() ? part : L" " + part;
        }
    }
    return name;
}

bool CBkDlgBtnEx2::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

void CBkDlgBtnEx2::DrawBackground(HDC dc) {
    // With a skin, the skin is drawn by state index; a skin the pool cannot
    // give draws nothing. Without one it draws like any control.
    const std::string& name = Style().skin;
    if (!name.empty()) {
        if (CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin(name)) {
            skin->Draw(dc, Rect(), SkinStateIndex(State()));
        }
        return;
    }
    CBkDialog::DrawBackground(dc);
}

int SkinStateIndex(ControlState state) {
    if (Has(state, ControlState::kDisabled)) {
        return 3;
    }
    if (Has(state, ControlState::kPushed)) {
        return 2;
    }
    if (Has(state, ControlState::kHover)) {
        return 1;
    }
    return 0;
}

}  // namespace velora
