#include "controls/rich_text2_window.h"

#include <oleacc.h>
#include <tinyxml.h>

#include <cmath>
#include <utility>

#include "ui/host_link.h"
#include "base/gdi_scopes.h"
#include "controls/rich_text_input.h"
#include "markup/attribute_reader.h"
#include "markup/style_pool.h"
#include "ui/notification.h"

namespace velora {
namespace {

// Sets the control's current style for one layout or paint.
class CurrentStyleScope {
  public:
    CurrentStyleScope(const BkStyle*& slot, const BkStyle& style) : slot_(slot) { slot_ = &style; }
    ~CurrentStyleScope() { slot_ = nullptr; }
    CurrentStyleScope(const CurrentStyleScope&) = delete;
    CurrentStyleScope& operator=(const CurrentStyleScope&) = delete;

  private:
    const BkStyle*& slot_;
};

}  // namespace

CBkRichText2Wnd::CBkRichText2Wnd() = default;
CBkRichText2Wnd::~CBkRichText2Wnd() = default;

bool CBkRichText2Wnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRichText2Wnd::SetAttribute(const std::string& name, const std::string& value,
                                   bool loading) {
    return CBkWindow::SetAttribute(name, value, loading) ||
           AttributeReader(name, value).Int("checkdcvieworg", checkDcViewOrg_);
}

bool CBkRichText2Wnd::Load(const TiXmlElement* element) {
    if (!CBkWindow::Load(element)) {
        return false;
    }
    ForgetInputObjects();
    objects_.clear();
    for (const TiXmlElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        std::unique_ptr<IBkRichtextObj> object = CreateRichObject(child->Value(), this);
        if (object) {
            object->Load(child);
            objects_.push_back(std::move(object));
        }
    }
    layoutNeeded_ = true;
    return true;
}

DWORD CBkRichText2Wnd::AccessibleRole() const {
    return AccessibleName().empty() ? 0 : ROLE_SYSTEM_STATICTEXT;
}

std::wstring CBkRichText2Wnd::AccessibleNameFromContent() const {
    std::wstring text;
    for (const auto& object : objects_) {
        text += object->IsClass(CBkRichBreakObj::kTag) ? std::wstring(L"\n") : object->Text();
    }
    return text;
}

IBkRichtextObj* CBkRichText2Wnd::Object(std::size_t index) const {
    return index < objects_.size() ? objects_[index].get() : nullptr;
}

void CBkRichText2Wnd::SetGraphicsFactory(GraphicsFactory factory) {
    graphicsFactory_ = std::move(factory);
    layoutNeeded_ = true;
}

void CBkRichText2Wnd::LayOutOnScreenDc() {
    ScopedMemoryDc dc(::CreateCompatibleDC(ScopedScreenDc().Get()));
    LayOut(dc.Get());
}

void CBkRichText2Wnd::LayOut(HDC dc) {
    const CurrentStyleScope current(currentStyle_, Style());
    RECT box = Rect();
    ::InflateRect(&box, -currentStyle_->xMargin, -currentStyle_->yMargin);
    RichTextLayoutPass pass;
    pass.dc = dc;
    pass.fit = fit_;
    pass.flow.left = static_cast<float>(box.left);
    pass.flow.top = static_cast<float>(box.top);
    pass.flow.right = static_cast<float>(box.right);
    pass.flow.lineHeight = GetLineHeight();
    pass.flow.x = pass.flow.left;
    pass.flow.y = pass.flow.top;
    for (const auto& object : objects_) {
        object->Layout(pass);
    }
    contentBottom_ = pass.flow.y + pass.flow.lineHeight;
    layoutNeeded_ = false;
}

void CBkRichText2Wnd::PaintContent(HDC dc) {
    if (dc == nullptr) {
        return;
    }
    if (layoutNeeded_) {
        LayOut(dc);
    }
    const ScopedSavedDc saved(dc);
    const CurrentStyleScope current(currentStyle_, Style());
    ScopedRegion region(::CreateRectRgnIndirect(&Rect()));
    if (!region) {
        return;
    }
    if (checkDcViewOrg_ != 0) {
        // Clip regions are in device units; the rectangle is in logical ones.
        POINT origin = {};
        ::GetViewportOrgEx(dc, &origin);
        ::OffsetRgn(region.Get(), origin.x, origin.y);
    }
    ::ExtSelectClipRgn(dc, region.Get(), RGN_AND);
    RECT clipBox = {};
    if (::GetClipBox(dc, &clipBox) == NULLREGION) {
        return;
    }
    for (const auto& object : objects_) {
        object->Paint(dc, clipBox);
    }
}

IBkRichtextObj* CBkRichText2Wnd::HitTestObject(float x, float y) const {
    for (const auto& object : objects_) {
        if (object->NotifyEnabled() == 0 && !object->NeedsRepaintOnHover()) {
            continue;
        }
        if (IBkRichtextObj* hit = object->HitTest(x, y)) {
            return hit;
        }
    }
    return nullptr;
}

void CBkRichText2Wnd::SetControlCursor() {
    if (hover_ != nullptr) {
        hover_->SetObjectCursor();
    } else {
        CBkWindow::SetControlCursor();
    }
}

bool CBkRichText2Wnd::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT& result) {
    switch (message) {
        case WM_WINDOWPOSCHANGED: {
            bool resized = false;
            const bool handled = TakeNewPlacement(*this, host, wParam, lParam, result, resized);
            layoutNeeded_ = layoutNeeded_ || resized;
            return handled;
        }
        case WM_MOUSEMOVE:
            OnMouseMove(RichPointFromLParam(lParam));
            break;
        case WM_LBUTTONDOWN:
            OnLButtonDown(RichPointFromLParam(lParam));
            break;
        case WM_LBUTTONUP:
            OnLButtonUp(RichPointFromLParam(lParam));
            break;
        case WM_MOUSELEAVE:
            OnMouseLeave();
            break;
        default:
            break;
    }
    // The base still sends the control's own move and leave notifications.
    return CBkWindow::HandleMessage(host, message, wParam, lParam, result);
}

void CBkRichText2Wnd::OnMouseMove(const RichPoint& point) {
    if (pressed_ != nullptr) {
        return;
    }
    IBkRichtextObj* hit = HitTestObject(point.x, point.y);
    IBkRichtextObj* previous = hover_;
    hover_ = hit;
    if (hit != nullptr) {
        NotifyObject(*hit, kNotifyHover);
        if (hit != previous) {
            hit->ModifyState(ControlState::kHover, ControlState::kNone);
        }
    }
    if (previous != nullptr && previous != hit) {
        NotifyObject(*previous, kNotifyLeave);
        previous->ModifyState(ControlState::kNone, ControlState::kHover);
    }
}

void CBkRichText2Wnd::OnLButtonDown(const RichPoint& point) {
    pressed_ = HitTestObject(point.x, point.y);
    if (pressed_ != nullptr) {
        pressed_->ModifyState(ControlState::kPushed, ControlState::kNone);
    }
}

void CBkRichText2Wnd::OnLButtonUp(const RichPoint& point) {
    IBkRichtextObj* pressed = pressed_;
    if (pressed == nullptr) {
        return;
    }
    const bool releasedOver = HitTestObject(point.x, point.y) == pressed;
    pressed_ = nullptr;
    pressed->ModifyState(ControlState::kNone, ControlState::kPushed);
    // Last: the dialog may change this control while it handles the click.
    if (releasedOver) {
        NotifyObject(*pressed, kNotifyClick);
    }
}

void CBkRichText2Wnd::OnMouseLeave() {
    if (pressed_ != nullptr) {
        pressed_->ModifyState(ControlState::kNone, ControlState::kPushed);
    }
    if (hover_ != nullptr) {
        hover_->ModifyState(ControlState::kNone, ControlState::kHover);
    }
    ForgetInputObjects();
}

void CBkRichText2Wnd::ForgetInputObjects() {
    pressed_ = nullptr;
    hover_ = nullptr;
}

void CBkRichText2Wnd::NotifyObject(const IBkRichtextObj& object, UINT code) const {
    HWND host = Host();
    if (host == nullptr || object.NotifyEnabled() == 0) {
        return;
    }
    BkNotify record = {};
    record.hdr.hwndFrom = host;
    record.hdr.idFrom = kHostNotifySource;
    record.hdr.code = code;
    record.controlId = static_cast<UINT>(object.Id());
    NotifyHost(host, kHostNotifySource, record.hdr);
}

void CBkRichText2Wnd::InvalidateControl() {
    RequestRepaint();
}

void CBkRichText2Wnd::InvalidateRichRect(const RichRect& rect) {
    const RECT whole = {
        static_cast<LONG>(std::floor(rect.left)), static_cast<LONG>(std::floor(rect.top)),
        static_cast<LONG>(std::ceil(rect.right)), static_cast<LONG>(std::ceil(rect.bottom))};
    RequestRepaint(whole);
}

float CBkRichText2Wnd::GetLineHeight() const {
    const BkStyle& style =
        currentStyle_ != nullptr ? *currentStyle_ : BkStylePool::Instance().Get(std::string());
    return static_cast<float>(style.lineSpacing);
}

std::unique_ptr<IRichTextGraphics> CBkRichText2Wnd::CreateGraphics(HDC dc, const BkStyle& style,
                                                                   ControlState state) {
    if (graphicsFactory_) {
        return graphicsFactory_(dc, style, state);
    }
    return CreateRichTextGraphics(dc, style, state);
}

}  // namespace velora
