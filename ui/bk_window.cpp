#include "ui/bk_window.h"

#include <oleacc.h>

#include "ui/host_link.h"
#include "ui/message_params.h"
#include "base/win_handles.h"
#include "markup/attribute_reader.h"
#include "markup/gdiplus_runtime.h"
#include "markup/skin_pool.h"
#include "markup/string_pool.h"
#include "markup/style_pool.h"
#include "markup/value_parsers.h"
#include "markup/xml_document.h"
#include "ui/accessible_events.h"
#include "ui/bk_container.h"
#include "ui/control_registry.h"
#include "ui/notification.h"
#include "ui/text_painter.h"

namespace velora {
namespace {

// Parent chains are short; this only stops a corrupt chain from looping.
constexpr int kMaxAncestors = 256;

bool AnyInChain(const CBkWindow* control, ControlState bit) {
    for (int depth = 0; control != nullptr && depth < kMaxAncestors; ++depth) {
        if (Has(control->State(), bit)) {
            return true;
        }
        control = control->Parent();
    }
    return false;
}

// A solid GDI+ fill with the style's background alpha (0-255).
void FillWithAlpha(HDC dc, const RECT& rect, COLORREF color, int alpha) {
    static gdip::Session session;
    const gdip::Api* api = gdip::Functions();
    if (api == nullptr || !session.IsStarted()) {
        return;  // without GDI+ the background is not drawn
    }
    const int a = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
    const gdip::ARGB argb = (static_cast<gdip::ARGB>(a) << 24) |
                            (static_cast<gdip::ARGB>(GetRValue(color)) << 16) |
                            (static_cast<gdip::ARGB>(GetGValue(color)) << 8) | GetBValue(color);
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    gdip::GpSolidFill* fill = nullptr;
    if (!graphics || api->GdipCreateSolidFill(argb, &fill) != gdip::kOk) {
        return;
    }
    gdip::ScopedBrush brush(fill);
    api->GdipFillRectangleI(graphics.Get(), brush.Get(), rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace

CBkWindow::CBkWindow() : handle_(BkControlRegistry::Instance().Register(this)) {}

CBkWindow::~CBkWindow() {
    BkControlRegistry::Instance().Unregister(handle_);
}

bool CBkWindow::Load(const TiXmlElement* element) {
    if (element == nullptr) {
        return false;
    }
    text_ = SubstituteStringReferences(Utf8ToUtf16(ElementText(element)));
    position_.flags = 0;
    CBkObject::Load(element);

    const char* show = AttributeText(element, "show");
    if (show != nullptr && show[0] != '\0') {
        ApplyShowFlag(ParseDecimal(show) != 0);
    }
    LoadSizeAttributes(AttributeText(element, "width"), AttributeText(element, "height"),
                       AttributeText(element, "float"), position_, rect_,
                       [this](std::int32_t width, std::int32_t height) {
                           return NaturalSize(SIZE{width, height});
                       });
    return true;
}

bool CBkWindow::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    static constexpr AttributeWord<std::uint32_t> kVAligns[] = {
        {"top", kVAlignTop}, {"middle", kVAlignMiddle}, {"bottom", kVAlignBottom}};
    static constexpr AttributeWord<std::uint32_t> kAligns[] = {
        {"left", kAlignLeft}, {"center", kAlignCenter}, {"right", kAlignRight}};
    const auto position = [this, loading](const std::string& text) {
        ParsePos(text.c_str(), position_);
        if (!loading) {
            CBkWindow* parent = Parent();
            if (parent != nullptr && parent->IsContainer()) {
                static_cast<CBkContainerWnd*>(parent)->RepositionChild(this);
            }
        }
        return true;
    };
    const AttributeReader r(name, value);
    return CBkObject::SetAttribute(name, value, loading) || r.Text("class", className_) ||
           r.Int("id", id_) || r.Int("alphatxt", alphaText_) || r.Color("crbg", crBg_) ||
           r.Color("crtext", crText_) || r.Font("font", font_) || r.WideText("href", href_) ||
           r.TextWithStrings("tip", tip_) || r.TextWithStrings("accname", accName_) ||
           r.Enum("valign", kVAligns, vAlign_) || r.Enum("align", kAligns, align_) ||
           r.Apply("pos", position) || r.Flag("transparent", transparent_) ||
           r.Flag("headacceptlbtndownmsg", headAcceptLButtonDown_) ||
           r.Int("notify", notifyMask_) || r.Flag("forceupdatestyle", forceUpdateStyle_) ||
           r.Flag("autofixtextrect", autoFixTextRect_) || r.Int("tabstop", tabStop_) ||
           r.Flag("default", default_);
}

void CBkWindow::AppendTabStops(std::vector<std::int32_t>& stops) const {
    if (IsTabStop()) {
        stops.push_back(handle_);
    }
}

CBkWindow* CBkWindow::Parent() const {
    return parentHandle_ != 0 ? BkControlRegistry::Instance().Find(parentHandle_) : nullptr;
}

void CBkWindow::SetText(const std::wstring& text) {
    text_ = text;
    RemeasureAfterTextChange(position_, rect_, [this](std::int32_t width, std::int32_t height) {
        return NaturalSize(SIZE{width, height});
    });
}

const BkStyle& CBkWindow::Style() const {
    return BkStylePool::Instance().Get(className_);
}

ControlState CBkWindow::ModifyState(ControlState add, ControlState remove) {
    const ControlState old = state_;
    state_ = (old | add) & ~remove;
    RaiseAccessibleStateChange(*this, old, state_);
    return old;
}

void CBkWindow::ApplyShowFlag(bool show) {
    if (show) {
        ModifyState(ControlState::kNone, ControlState::kHidden);
    } else {
        ModifyState(ControlState::kHidden, ControlState::kNone);
    }
}

bool CBkWindow::IsVisible() const {
    return !AnyInChain(this, ControlState::kHidden);
}

bool CBkWindow::IsDisabled() const {
    return AnyInChain(this, ControlState::kDisabled);
}

std::int32_t CBkWindow::HitTest(int x, int y) {
    const POINT point = {x, y};
    return ::PtInRect(&rect_, point) ? handle_ : 0;
}

DWORD CBkWindow::AccessibleRole() const {
    if (!text_.empty()) {
        return ROLE_SYSTEM_STATICTEXT;
    }
    return AccessibleName().empty() ? 0 : ROLE_SYSTEM_GRAPHIC;
}

std::wstring CBkWindow::AccessibleName() const {
    return accName_.empty() ? AccessibleNameFromContent() : accName_;
}

std::wstring CBkWindow::AccessibleNameFromContent() const {
    return text_.empty() ? GetToolTipText() : text_;
}

void CBkWindow::CollectAccessible(std::vector<const CBkWindow*>& controls) const {
    if (!Has(state_, ControlState::kHidden) && AccessibleRole() != 0) {
        controls.push_back(this);
    }
}

void CBkWindow::SetControlCursor() {
    ::SetCursor(::LoadCursorW(nullptr, Style().cursor));
}

bool CBkWindow::RedrawOnStateChange() {
    const BkStyle& style = Style();
    if (!style.skin.empty()) {
        CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin(style.skin);
        if (skin != nullptr && !skin->IgnoreState()) {
            return true;  // the skin looks different per state
        }
    }
    return style.crHover != kNoColor || style.crBgHover != kNoColor || style.hoverFont != nullptr;
}

bool CBkWindow::RedrawRegion(HDC dc, HRGN region) {
    if (region != nullptr && !::RectInRegion(region, &rect_)) {
        return false;
    }
    DrawBackground(dc);
    Paint(dc);
    return true;
}

void CBkWindow::DrawBackground(HDC dc) {
    const BkStyle& style = Style();
    if (!style.skin.empty()) {
        // Drawn with the raw state bits; a skin the pool cannot give draws nothing.
        if (CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin(style.skin)) {
            skin->Draw(dc, rect_, static_cast<int>(state_));
        }
        return;
    }
    COLORREF color = crBg_ != kNoColor ? crBg_ : style.crBg;
    if (Has(state_, ControlState::kHover) && style.crBgHover != kNoColor) {
        color = style.crBgHover;
    }
    if (color == kNoColor) {
        return;
    }
    if (style.gdiplusBackground) {
        FillWithAlpha(dc, rect_, color, style.alphaBackground);
        return;
    }
    ScopedBrush brush(::CreateSolidBrush(color));
    ::FillRect(dc, &rect_, brush.Get());
}

bool CBkWindow::HandleMessage(HWND /*host*/, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_CREATE:
            result = 1;
            break;
        case WM_DESTROY:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            break;
        case WM_PAINT:
            PaintContent(ParamHandle<HDC>(wParam));
            break;
        case WM_SHOWWINDOW:
            ApplyShowFlag(wParam != 0);
            break;
        case WM_WINDOWPOSCHANGED:
            if (lParam != 0) {
                TakeNewPosition(ParamAt<const WINDOWPOS>(lParam));
            }
            break;
        case WM_NCCALCSIZE:
            if (lParam != 0) {
                SIZE& size = ParamAt<SIZE>(lParam);
                size = MeasureContent(size);
            }
            break;
        case WM_MOUSEMOVE:
            if (notifyMask_ & kNotifyMaskMove) {
                SendSelfNotify(kSelfNotifyMove);
            }
            break;
        case WM_MOUSELEAVE:
            if (notifyMask_ & kNotifyMaskLeave) {
                SendSelfNotify(kSelfNotifyLeave);
            }
            break;
        default:
            return false;
    }
    messageHandled_ = true;
    return true;
}

LRESULT CBkWindow::SendControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    messageHandled_ = false;
    LRESULT result = 0;
    HandleMessage(host_, message, wParam, lParam, result);
    return result;
}

void CBkWindow::Place(const WINDOWPOS& placement) {
    SendControlMessage(WM_WINDOWPOSCHANGED, 0, AddressParam(placement));
}

SIZE CBkWindow::NaturalSize(SIZE available) {
    SendControlMessage(WM_NCCALCSIZE, 0, AddressParam(available));
    return available;
}

void CBkWindow::Paint(HDC dc) {
    SendControlMessage(WM_PAINT, HandleParam(dc));
}

void CBkWindow::SetShown(bool shown) {
    SendControlMessage(WM_SHOWWINDOW, shown ? 1 : 0);
}

SIZE CBkWindow::MeasureContent(SIZE available) {
    if (position_.list.count == 4) {
        return FourItemSize(position_.list, available.cx, available.cy);
    }
    return MeasureControlText(*this, available);
}

void CBkWindow::PaintContent(HDC dc) {
    PaintControlText(dc, *this);
}

void CBkWindow::TakeNewPosition(const WINDOWPOS& placement) {
    const SIZE answer = NaturalSize(SIZE{placement.cx, placement.cy});
    const ChildPlacement where = {placement.x, placement.y, placement.cx, placement.cy};
    rect_ = TakePlacement(where, answer, position_);
}

void CBkWindow::SendSelfNotify(int subCode) {
    if (host_ == nullptr) {
        return;
    }
    const int dialogId = ::GetDlgCtrlID(host_);
    BkNotify record = {};
    record.hdr.hwndFrom = host_;
    record.hdr.idFrom = static_cast<UINT_PTR>(dialogId);
    record.hdr.code = kNotifySelf;
    record.controlId = static_cast<UINT>(id_);
    record.classTag = "wnd";
    record.subCode = subCode;
    NotifyHost(host_, static_cast<WPARAM>(dialogId), record.hdr);
}

void CBkWindow::RequestRepaint() const {
    RequestRepaint(rect_);
}

void CBkWindow::RequestRepaint(const RECT& rect) const {
    if (host_ == nullptr || !IsVisible()) {
        return;
    }
    BkNotifyRepaint record = {};
    record.hdr.hwndFrom = nullptr;
    record.hdr.idFrom = static_cast<UINT_PTR>(id_);
    record.hdr.code = kNotifyRepaint;
    record.controlHandle = handle_;
    record.rect = rect;
    NotifyHost(host_, static_cast<WPARAM>(id_), record.hdr);
}

}  // namespace velora
