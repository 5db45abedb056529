#include "ui/host_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "markup/font_pool.h"
#include "markup/skin_pool.h"
#include "markup/value_parsers.h"
#include "ui/bk_container.h"
#include "ui/control_creator.h"
#include "ui/control_registry.h"
#include "ui/list_impl.h"
#include "ui/notification.h"
#include "ui/shadow_window.h"

namespace velora {
namespace {

constexpr int kBorder = 4;
// Base of reflected messages (notifications sent back to the child that sent them).
constexpr UINT kReflectBase = WM_USER + 0x1C00;
constexpr UINT kSysCommandMoveByCaption = 0xF012;
constexpr UINT kSysCommandRestoreByCaption = 0xF122;
constexpr UINT kSysCommandMaximizeByCaption = 0xF032;

POINT PointFrom(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

LRESULT Pass(CBkWindow& control, UINT message, WPARAM wParam, LPARAM lParam) {
    return control.SendControlMessage(message, wParam, lParam);
}

}  // namespace

CBkDialogViewImplEx::CBkDialogViewImplEx(UINT layoutId, IBkControlCreator* standardTier,
                                         std::unique_ptr<IBkControlCreator> creator)
    : layoutId_(layoutId), standardTier_(standardTier), creator_(std::move(creator)) {
    sections_.SetTiers(standardTier_, creator_.get());
}

CBkDialogViewImplEx::~CBkDialogViewImplEx() {
    DestroyNative();
    sections_.DestroyAll();
}

// ---- Life ---------------------------------------------------------------------

HWND CBkDialogViewImplEx::Create(HWND owner, const RECT* rect) {
    if (!sections_.Description().loaded) {
        if (layoutId_ == 0 || !Succeeded(sections_.Load(layoutId_))) {
            return nullptr;
        }
    }
    DestroyNative();
    const BkWindowDescription& layout = sections_.Description();
    RECT place = rect ? *rect : RECT{0, 0, layout.width, layout.height};
    if (place.right - place.left < layout.minWidth) {
        place.right = place.left + layout.minWidth;
    }
    if (place.bottom - place.top < layout.minHeight) {
        place.bottom = place.top + layout.minHeight;
    }
    HWND window = CreateNative(owner, place, layout.title.c_str(), layout.style, layout.exStyle);
    if (window == nullptr) {
        return nullptr;
    }
    sections_.SetHost(window);
    CreateToolTip();
    dirtyRegion_.Reset();
    if (shadowEnabled_ && !IsChildWindow()) {
        shadow_ = std::make_unique<CShadowWnd>();
        shadow_->SetShadowSize(shadowSize_);
        shadow_->SetPaintHook(shadowHook_);
        shadow_->Create(window);
    }
    firstShow_ = true;
    bringToFront_ = true;
    ::SendMessageW(window, WM_INITDIALOG, 0, 0);
    for (CBkDialog* section : {&sections_.Header(), &sections_.Footer(), &sections_.Body()}) {
        section->ShowNativeWindows(true);
    }
    ::MoveWindow(window, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 FALSE);
    if (layout.width != 0 && layout.height != 0) {
        LayoutSections();
    }
    return window;
}

int CBkDialogViewImplEx::DoModal(HWND owner, const RECT* rect) {
    if (owner == nullptr) {
        owner = ::GetActiveWindow();
    }
    bool ownerDisabled = false;
    if (owner != nullptr && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        ownerDisabled = true;
    }
    endLoop_ = false;
    result_ = 0;
    HWND window = Create(owner, rect);
    if (window == nullptr) {
        if (ownerDisabled) {
            ::EnableWindow(owner, TRUE);
        }
        return 0;
    }
    if (rect == nullptr) {
        Centre(owner);
    }
    if (bringToFront_) {
        BringToFront();
    }

    MSG message;
    while (!endLoop_ && !::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) {
        if (!::IsWindow(window)) {
            break;
        }
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) {
            continue;
        }
        if (got == 0) {
            // Leave WM_QUIT for the loop that owns it.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!PreTranslateMessage(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    endLoop_ = false;
    if (::IsWindow(window)) {
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
    if (ownerDisabled) {
        ::EnableWindow(owner, TRUE);
    }
    if (owner != nullptr && ::GetActiveWindow() == window) {
        ::SetActiveWindow(owner);
    }
    DestroyNative();
    return result_;
}

void CBkDialogViewImplEx::EndDialog(int result) {
    result_ = result;
    endLoop_ = true;
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

bool CBkDialogViewImplEx::PreTranslateMessage(MSG& message) {
    const bool keyboard = message.message >= WM_KEYFIRST && message.message <= 0x109;
    const bool mouse = message.message >= WM_MOUSEFIRST && message.message <= 0x20D;
    HWND window = Handle();
    if ((!keyboard && !mouse) || window == nullptr) {
        return false;
    }
    HWND focus = ::GetFocus();
    if (focus != nullptr && focus != window && ::IsChild(window, focus)) {
        HWND child = focus;
        while (::GetParent(child) != window && ::GetParent(child) != nullptr) {
            child = ::GetParent(child);
        }
        if (::SendMessageW(child, kMsgForwardToChild, 0, reinterpret_cast<LPARAM>(&message)) == 1) {
            return true;
        }
    }
    return ::IsDialogMessageW(window, &message) != FALSE;
}

void CBkDialogViewImplEx::Centre(HWND owner) {
    HWND window = Handle();
    RECT self;
    ::GetWindowRect(window, &self);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST),
                      &monitor);
    RECT area = monitor.rcWork;
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    }
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    const RECT& work = monitor.rcWork;
    if (x + width > work.right) {
        x = work.right - width;
    }
    if (y + height > work.bottom) {
        y = work.bottom - height;
    }
    if (x < work.left) {
        x = work.left;
    }
    if (y < work.top) {
        y = work.top;
    }
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBkDialogViewImplEx::BringToFront() {
    HWND window = Handle();
    const DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    ::SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    const DWORD ownThread = ::GetCurrentThreadId();
    if (foregroundThread != 0 && foregroundThread != ownThread) {
        ::AttachThreadInput(ownThread, foregroundThread, TRUE);
        ::SetForegroundWindow(window);
        ::AttachThreadInput(ownThread, foregroundThread, FALSE);
    }
    if (IsLayeredPresentation()) {
        ::PostMessageW(window, WM_PAINT, 0, 0);
    }
}

void CBkDialogViewImplEx::CreateToolTip() {
    HWND window = Handle();
    toolTip_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                                 nullptr, BkWindowModule::Instance(), nullptr);
    if (toolTip_ == nullptr) {
        return;
    }
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(toolTip_, TTM_ACTIVATE, TRUE, 0);
    ::SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 5000);
}

// ---- Controls by id --------------------------------------------------------------

CBkWindow* CBkDialogViewImplEx::FindControl(int id) const {
    return sections_.FindControlById(id);
}

CBkWindow* CBkDialogViewImplEx::Control(std::int32_t handle) const {
    return handle != 0 ? BkControlRegistry::Instance().Find(handle) : nullptr;
}

bool CBkDialogViewImplEx::SetItemAttribute(int id, const char* name, const std::wstring& value) {
    CBkWindow* control = FindControl(id);
    if (control == nullptr || name == nullptr) {
        return false;
    }
    if (control->IsVisible()) {
        InvalidateControlRect(control->Rect());
    }
    control->SetAttribute(name, Utf16ToUtf8(value), false);
    if (control->IsVisible()) {
        InvalidateControlRect(control->Rect());
    }
    return true;
}

bool CBkDialogViewImplEx::SetItemIntAttribute(int id, const char* name, int value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", value);
    return SetItemAttribute(id, name, text);
}

bool CBkDialogViewImplEx::SetItemText(int id, const std::wstring& text) {
    CBkWindow* control = FindControl(id);
    if (control == nullptr) {
        return false;
    }
    if (control->IsVisible()) {
        InvalidateControlRect(control->Rect());
    }
    control->SetText(text);
    if (control->IsVisible()) {
        InvalidateControlRect(control->Rect());
    }
    return true;
}

bool CBkDialogViewImplEx::SetItemCheck(int id, bool checked) {
    CBkWindow* control = FindControl(id);
    if (control == nullptr) {
        return false;
    }
    control->ModifyState(checked ? kStateChecked : 0, checked ? 0 : kStateChecked);
    if (control->IsVisible()) {
        InvalidateControlRect(control->Rect());
    }
    return true;
}

bool CBkDialogViewImplEx::GetItemCheck(int id) const {
    const CBkWindow* control = FindControl(id);
    return control != nullptr && (control->State() & kStateChecked) != 0;
}

bool CBkDialogViewImplEx::EnableItem(int id, bool enabled) {
    CBkWindow* control = FindControl(id);
    if (control == nullptr) {
        return false;
    }
    if (enabled) {
        control->ModifyState(0, kStateDisabled);
    } else {
        control->ModifyState(kStateDisabled, kStateHover);
    }
    if (control->IsVisible()) {
        InvalidateControlRect(control->Rect());
    }
    return true;
}

bool CBkDialogViewImplEx::ShowItem(int id, bool shown) {
    CBkWindow* control = FindControl(id);
    if (control == nullptr) {
        return false;
    }
    control->SendControlMessage(WM_SHOWWINDOW, shown ? 1 : 0);
    InvalidateControlRect(control->Rect());
    return true;
}

CBkWindow* CBkDialogViewImplEx::GetListWnd(int id) const {
    CBkWindow* control = FindControl(id);
    return dynamic_cast<CBkListImpl*>(control) != nullptr ? control : nullptr;
}

bool CBkDialogViewImplEx::SetListItemAttribute(CBkWindow* list, int index, const char* name,
                                               const std::wstring& value) {
    const auto* items = dynamic_cast<const CBkListImpl*>(list);
    CBkWindow* item = items != nullptr ? items->ItemAt(index) : nullptr;
    if (item == nullptr) {
        return false;
    }
    // Items are placed inside the list, so their rectangles are mapped out of it.
    if (item->IsVisible()) {
        InvalidateControlRect(items->MapToHost(*item, item->Rect()));
    }
    item->SetAttribute(name, Utf16ToUtf8(value), false);
    if (item->IsVisible()) {
        InvalidateControlRect(items->MapToHost(*item, item->Rect()));
    }
    return true;
}

// ---- Repainting -------------------------------------------------------------------

void CBkDialogViewImplEx::InvalidateControlRect(const RECT& rect) {
    if (::IsRectEmpty(&rect)) {
        return;  // nothing to repaint, and no paint to ask for
    }
    if (!fullRedraw_) {
        ScopedRegion piece(::CreateRectRgnIndirect(&rect));
        if (!dirtyRegion_) {
            dirtyRegion_ = std::move(piece);
        } else if (piece) {
            ::CombineRgn(dirtyRegion_.Get(), dirtyRegion_.Get(), piece.Get(), RGN_OR);
        }
    }
    // WM_PAINT presents only the system's update rectangle, so the system
    // must know each changed rectangle, not just that something changed.
    if (invalidationBatch_ > 0) {
        ::UnionRect(&batchBounds_, &batchBounds_, &rect);
    } else if (Handle() != nullptr) {
        ::InvalidateRect(Handle(), &rect, FALSE);
    }
    dirty_ = true;
}

// Holds back the system invalidations of one input message and presents
// their bounds at once when the message is done: each invalidation and each
// WM_PAINT is a round trip to the window system, and a hover change makes two
// invalidations.
class CBkDialogViewImplEx::InvalidationBatch {
  public:
    explicit InvalidationBatch(CBkDialogViewImplEx& host) : host_(host) {
        ++host_.invalidationBatch_;
    }
    ~InvalidationBatch() {
        if (--host_.invalidationBatch_ == 0 && !::IsRectEmpty(&host_.batchBounds_)) {
            const RECT bounds = host_.batchBounds_;
            host_.batchBounds_ = RECT{};
            host_.PresentInputChange(bounds);
        }
    }
    InvalidationBatch(const InvalidationBatch&) = delete;
    InvalidationBatch& operator=(const InvalidationBatch&) = delete;

  private:
    CBkDialogViewImplEx& host_;
};

void CBkDialogViewImplEx::PresentInputChange(const RECT& area) {
    HWND window = Handle();
    if (window == nullptr) {
        return;
    }
    // A hover answers the mouse at once. Drawing straight into the window
    // skips the invalidation, BeginPaint and EndPaint of a WM_PAINT, which
    // cost more than repainting two buttons. A pending full redraw, a layered
    // window (presented whole) or a window not on screen take the usual path.
    const bool direct = !fullRedraw_ && backBuffer_.Handle() != nullptr &&
                        ::IsWindowVisible(window) && !::IsIconic(window) &&
                        !IsLayeredPresentation();
    HDC dc = direct ? ::GetDC(window) : nullptr;
    if (dc == nullptr) {
        ::InvalidateRect(window, &area, FALSE);
        return;
    }
    Paint(dc, &area);
    ::ReleaseDC(window, dc);
}

bool CBkDialogViewImplEx::LoadLayout(UINT id) {
    // From now on this is the window's layout: Create must not fall back to
    // the constructor's when this one is missing.
    layoutId_ = id;
    const BkLayoutLoad result = sections_.Load(id);
    if (result == BkLayoutLoad::kLoadedIntoWindow) {
        hovered_ = 0;
        pressed_ = 0;
    }
    if (result == BkLayoutLoad::kRejected || result == BkLayoutLoad::kLoadedIntoWindow) {
        InvalidateAll();
    }
    return Succeeded(result);
}

void CBkDialogViewImplEx::InvalidateAll() {
    fullRedraw_ = true;
    dirty_ = true;
    dirtyRegion_.Reset();
    if (Handle() != nullptr) {
        ::InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void CBkDialogViewImplEx::ChangeState(CBkWindow& control, std::uint32_t add, std::uint32_t remove) {
    control.ModifyState(add, remove);
    if (control.RedrawOnStateChange() && control.IsVisible()) {
        InvalidateControlRect(control.Rect());
    }
}

bool CBkDialogViewImplEx::IsLayeredPresentation() const {
    return Handle() != nullptr && (::GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

bool CBkDialogViewImplEx::IsChildWindow() const {
    return (sections_.Description().style & WS_CHILD) != 0;
}

void CBkDialogViewImplEx::LayoutSections() {
    if (sections_.LayoutToHostClient()) {
        InvalidateAll();
    }
}

void CBkDialogViewImplEx::Paint(HDC target, const RECT* area) {
    if (fullRedraw_) {
        dirtyRegion_.Reset();
        dirty_ = true;
    }
    HWND window = Handle();
    if (backBuffer_.Handle() != nullptr) {
        // One memory DC both draws into the buffer and presents it. It is
        // kept across paints (making one costs more than a small repaint);
        // the buffer is selected only while painting, so others may select it.
        if (!paintDc_) {
            paintDc_ = ScopedMemoryDc(::CreateCompatibleDC(nullptr));
        }
        const ScopedMemoryDc& dc = paintDc_;
        ScopedSelectObject buffer(dc.Get(), backBuffer_.Handle());
        if (dirty_) {
            RepaintBuffer(dc.Get());
        }
        if (target != nullptr) {
            RECT present = {0, 0, backBuffer_.Width(), backBuffer_.Height()};
            if (area != nullptr && !::IntersectRect(&present, &present, area)) {
                present = RECT{};
            }
            if (!::IsRectEmpty(&present)) {
                ::BitBlt(target, present.left, present.top, present.right - present.left,
                         present.bottom - present.top, dc.Get(), present.left, present.top,
                         SRCCOPY);
            }
        } else if (IsLayeredPresentation()) {
            RECT rect;
            ::GetWindowRect(window, &rect);
            POINT position = {rect.left, rect.top};
            SIZE size = {backBuffer_.Width(), backBuffer_.Height()};
            POINT origin = {0, 0};
            BLENDFUNCTION blend = {AC_SRC_OVER, 0, windowAlpha_, AC_SRC_ALPHA};
            ::UpdateLayeredWindow(window, nullptr, &position, &size, dc.Get(), &origin, 0, &blend,
                                  ULW_ALPHA);
        }
    }
    if (shadow_ && !shadow_->IsShown() && !shadow_->IsMoving()) {
        shadow_->Refresh(window);
    }
    fullRedraw_ = false;
    dirty_ = false;
}

void CBkDialogViewImplEx::RepaintBuffer(HDC dc) {
    const std::size_t pixels = static_cast<std::size_t>(backBuffer_.Width()) * backBuffer_.Height();
    if (fullRedraw_ || !dirtyRegion_) {
        std::memset(backBuffer_.Pixels(), 0, pixels * sizeof(std::uint32_t));
    } else if (IsLayeredPresentation()) {
        // Transparent black under the parts about to be repainted.
        ScopedBrush black(::CreateSolidBrush(RGB(0, 0, 0)));
        ::FillRgn(dc, dirtyRegion_.Get(), black.Get());
    }
    const int saved = ::SaveDC(dc);
    if (HFONT font = BkFontPool::Instance().GetFont(0)) {
        ::SelectObject(dc, font);
    }
    ::SetBkMode(dc, TRANSPARENT);
    HRGN region = dirtyRegion_.Get();
    if (region != nullptr) {
        ::SelectClipRgn(dc, region);
    }
    const std::string& frame = sections_.Description().frameSkin;
    if (CBkSkinBase* skin = frame.empty() ? nullptr : BkSkin::Instance().GetSkin(frame)) {
        skin->Draw(dc, RECT{0, 0, backBuffer_.Width(), backBuffer_.Height()}, 0);
    }
    sections_.Header().RedrawRegion(dc, region);
    sections_.Body().RedrawRegion(dc, region);
    sections_.Footer().RedrawRegion(dc, region);
    if (overlay_ && !IsChildWindow()) {
        DrawFrameOverlay(dc);
    }
    ::RestoreDC(dc, saved);
    dirtyRegion_.Reset();
}

void CBkDialogViewImplEx::OnSize(WPARAM type) {
    HWND window = Handle();
    if (type == SIZE_MINIMIZED) {
        return;
    }
    if (type == SIZE_MAXIMIZED && !sections_.Description().resizable) {
        ::SetWindowLongPtrW(window, GWL_STYLE,
                            ::GetWindowLongPtrW(window, GWL_STYLE) & ~WS_MAXIMIZE);
        Centre(::GetWindow(window, GW_OWNER));
        return;
    }
    RECT client;
    ::GetClientRect(window, &client);
    if (client.right == 0) {
        return;
    }
    if (!backBuffer_.HasSize(client.right, client.bottom)) {
        backBuffer_.Create(client.right, client.bottom);
        ++backBufferBuilds_;
    }
    LayoutSections();
    fullRedraw_ = true;
}

// ---- Input --------------------------------------------------------------------------

std::int32_t CBkDialogViewImplEx::HitTestSections(int x, int y, bool headerOnly) const {
    if (const std::int32_t hit = sections_.Header().HitTest(x, y)) {
        return hit;
    }
    if (headerOnly) {
        return 0;
    }
    if (const std::int32_t hit = sections_.Body().HitTest(x, y)) {
        return hit;
    }
    return sections_.Footer().HitTest(x, y);
}

void CBkDialogViewImplEx::SendNotify(UINT code, const CBkWindow* control, const char* classTag) {
    BkNotify record = {};
    record.hdr.hwndFrom = Handle();
    record.hdr.idFrom = kHostNotifySource;
    record.hdr.code = code;
    record.controlId = control ? static_cast<UINT>(control->Id()) : 0;
    record.classTag = classTag;
    ::SendMessageW(Handle(), WM_NOTIFY, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&record));
}

void CBkDialogViewImplEx::OnMouseMove(WPARAM keys, POINT point, LPARAM lParam) {
    // The tip watches the whole window as one tool: it needs the move that
    // enters the window, the moves while it is shown (they restart its
    // auto-pop timer) and the move onto a control with a tip (after a show
    // that found no text, only a relayed move makes it try again). Relaying
    // any other move costs window-system round trips on every pixel and
    // changes nothing.
    const bool relayed = !trackingLeave_ || IsToolTipShown();
    if (relayed) {
        RelayToToolTip(WM_MOUSEMOVE, keys, lParam);
    }
    InvalidationBatch batch(*this);
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = Handle();
        trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
    }
    if (pressed_ != 0) {
        if (CBkWindow* pressed = Control(pressed_)) {
            Pass(*pressed, WM_MOUSEMOVE, keys, lParam);
            return;
        }
    }
    CBkWindow* hit = hitCode_ == HTCLIENT ? Control(HitTestSections(point.x, point.y)) : nullptr;
    if (hit != nullptr) {
        // A message to a control or a record to the dialog may destroy
        // controls (a handler may load another layout): after each, the
        // controls concerned are looked up again by handle.
        const std::int32_t handle = hit->Handle();
        const bool disabled = hit->IsDisabled();
        if (!disabled) {
            Pass(*hit, WM_MOUSEMOVE, keys, lParam);
        }
        if ((hit = Control(handle)) != nullptr) {
            SendNotify(kNotifyHover, hit);
        }
        if (handle == hovered_) {
            return;  // the common case: nothing but the hit test and the hover record
        }
        const std::int32_t left = hovered_;
        CBkWindow* previous = Control(left);
        if (previous != nullptr && !previous->IsDisabled()) {
            ChangeState(*previous, 0, kStateHover);
            Pass(*previous, WM_MOUSELEAVE, 0, 0);
            if ((previous = Control(left)) != nullptr) {
                SendNotify(kNotifyLeave, previous);
            }
        }
        if ((hit = Control(handle)) == nullptr) {
            hovered_ = 0;
            return;
        }
        if (!disabled) {
            ChangeState(*hit, kStateHover, 0);
        }
        hovered_ = handle;
        if (toolTip_ != nullptr && hit->GetToolTipText() != toolTipText_) {
            toolTipText_ = hit->GetToolTipText();
            TTTOOLINFOW tool = {};
            tool.cbSize = sizeof(tool);
            tool.hwnd = Handle();
            tool.uId = reinterpret_cast<UINT_PTR>(Handle());
            tool.lpszText = const_cast<wchar_t*>(toolTipText_.c_str());
            ::SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
            if (toolTipText_.empty() && IsToolTipShown()) {
                // Left for a control without a tip: the last tip must not linger.
                ::SendMessageW(toolTip_, TTM_POP, 0, 0);
            }
        }
        if (!relayed && !toolTipText_.empty()) {
            RelayToToolTip(WM_MOUSEMOVE, keys, lParam);
        }
        return;
    }
    const std::int32_t left = hovered_;
    hovered_ = 0;
    if (CBkWindow* previous = Control(left)) {
        ChangeState(*previous, 0, kStateHover);
        if (!previous->IsDisabled()) {
            Pass(*previous, WM_MOUSELEAVE, 0, 0);
            if ((previous = Control(left)) != nullptr) {
                SendNotify(kNotifyLeave, previous);
            }
        }
    }
}

void CBkDialogViewImplEx::OnLButtonDown(WPARAM keys, POINT point, LPARAM lParam) {
    HWND window = Handle();
    if (sections_.Description().resizable && hitCode_ >= HTLEFT && hitCode_ <= HTBOTTOMRIGHT) {
        POINT screen = point;
        ::ClientToScreen(window, &screen);
        ::SendMessageW(window, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hitCode_),
                       MAKELPARAM(screen.x, screen.y));
        return;
    }
    CBkWindow* hit = Control(HitTestSections(point.x, point.y, true));
    if (hit != nullptr && !hit->TakesHeaderPress() && !hit->AcceptsHeaderLButtonDown() &&
        !IsChildWindow()) {
        ::SetFocus(window);
        if (!::IsIconic(window) && sections_.Description().movable) {
            ::SendMessageW(window, WM_SYSCOMMAND, kSysCommandMoveByCaption, 0);
        }
        return;
    }
    if (hit == nullptr) {
        hit = Control(HitTestSections(point.x, point.y));
    }
    if (hit == nullptr || hit->IsDisabled() || captured_) {
        return;
    }
    const std::int32_t handle = hit->Handle();
    ::SetCapture(window);
    captured_ = true;
    hovered_ = handle;
    pressed_ = handle;
    ChangeState(*hit, kStatePushed, 0);
    Pass(*hit, WM_LBUTTONDOWN, keys, lParam);
    if ((hit = Control(handle)) != nullptr) {
        SendNotify(kNotifyLButtonDown, hit);
    }
}

void CBkDialogViewImplEx::OnLButtonUp(WPARAM keys, POINT point, LPARAM lParam) {
    ::SetFocus(Handle());
    if (captured_) {
        captured_ = false;
        ::ReleaseCapture();
    }
    const std::int32_t under = HitTestSections(point.x, point.y);
    // The press is over before anything is sent: a click handler may run a
    // nested modal loop, or destroy the control.
    const std::int32_t handle = pressed_;
    pressed_ = 0;
    CBkWindow* pressed = Control(handle);
    if (pressed == nullptr) {
        return;
    }
    ChangeState(*pressed, 0, kStatePushed);
    Pass(*pressed, WM_LBUTTONUP, keys, lParam);
    if ((pressed = Control(handle)) == nullptr) {
        return;
    }
    if (under == handle) {
        if (!pressed->Href().empty()) {
            ::ShellExecuteW(Handle(), L"open", pressed->Href().c_str(), nullptr, nullptr,
                            SW_SHOWNORMAL);
        } else if (pressed->Id() != 0) {
            SendNotify(kNotifyClick, pressed, pressed->GetObjectClass());
        }
    } else {
        ChangeState(*pressed, 0, kStateHover);
        Pass(*pressed, WM_MOUSELEAVE, 0, 0);
        if ((pressed = Control(handle)) != nullptr && pressed->Id() != 0) {
            SendNotify(kNotifyLeave, pressed);
            if (handle == hovered_) {
                hovered_ = 0;
            }
        }
    }
}

void CBkDialogViewImplEx::OnLButtonDoubleClick(WPARAM keys, POINT point, LPARAM lParam) {
    HWND window = Handle();
    // The second press of a fast double click on a check box or radio button
    // is a press of its own, whose release clicks again, as on a native one.
    if (CBkWindow* toggle = Control(HitTestSections(point.x, point.y))) {
        if (toggle->DoubleClickIsPress()) {
            OnLButtonDown(keys, point, lParam);
            return;
        }
    }
    CBkWindow* header = Control(HitTestSections(point.x, point.y, true));
    if (header != nullptr && !header->TakesHeaderDoubleClick() &&
        sections_.Description().resizable) {
        const bool maximised = (::GetWindowLongPtrW(window, GWL_STYLE) & WS_MAXIMIZE) != 0;
        ::SendMessageW(window, WM_SYSCOMMAND,
                       maximised ? kSysCommandRestoreByCaption : kSysCommandMaximizeByCaption, 0);
        return;
    }
    ::SetFocus(window);
    CBkWindow* hit = Control(HitTestSections(point.x, point.y));
    if (hit != nullptr) {
        const std::int32_t handle = hit->Handle();
        Pass(*hit, WM_LBUTTONDBLCLK, keys, lParam);
        if ((hit = Control(handle)) != nullptr) {
            SendNotify(kNotifyDoubleClick, hit, hit->GetObjectClass());
        }
    }
}

void CBkDialogViewImplEx::OnRButtonDown(WPARAM keys, POINT point, LPARAM lParam) {
    CBkWindow* hit = Control(HitTestSections(point.x, point.y));
    rightPressed_ = hit ? hit->Handle() : 0;
    if (hit == nullptr) {
        return;  // nothing to hold the mouse for
    }
    if (!captured_) {
        ::SetCapture(Handle());
        captured_ = true;
    }
    const std::int32_t handle = hit->Handle();
    Pass(*hit, WM_RBUTTONDOWN, keys, lParam);
    if ((hit = Control(handle)) != nullptr) {
        SendNotify(kNotifyRButtonDown, hit);
    }
}

void CBkDialogViewImplEx::OnRButtonUp(WPARAM keys, POINT point, LPARAM lParam) {
    const std::int32_t under = HitTestSections(point.x, point.y);
    const std::int32_t handle = rightPressed_;
    rightPressed_ = 0;
    if (handle == 0) {
        return;
    }
    // Released even when the control has gone meanwhile; only a left press
    // still going on keeps the mouse.
    if (captured_ && pressed_ == 0) {
        captured_ = false;
        ::ReleaseCapture();
    }
    CBkWindow* pressed = Control(handle);
    if (pressed != nullptr && under == handle) {
        Pass(*pressed, WM_RBUTTONUP, keys, lParam);
        if ((pressed = Control(handle)) != nullptr) {
            SendNotify(kNotifyRightClick, pressed);
        }
    }
}

void CBkDialogViewImplEx::OnMouseLeave() {
    trackingLeave_ = false;
    const std::int32_t hovered = hovered_;
    const std::int32_t pressed = pressed_;
    hovered_ = 0;
    pressed_ = 0;
    std::int32_t last = 0;
    if (CBkWindow* control = Control(hovered)) {
        ChangeState(*control, 0, kStateHover);
        Pass(*control, WM_MOUSELEAVE, 0, 0);
        last = hovered;
    }
    if (CBkWindow* control = Control(pressed)) {
        ChangeState(*control, 0, kStatePushed);
        last = pressed;
    }
    SendNotify(kNotifyLeave, Control(last));
}

void CBkDialogViewImplEx::ApplySizeRules(RECT& client) const {
    const BkWindowDescription& layout = sections_.Description();
    if (layout.holdSize) {
        client.right = client.left + layout.width;
        client.bottom = client.top + layout.height;
        return;
    }
    if (client.right - client.left < layout.minWidth) {
        client.right = client.left + layout.minWidth;
    }
    if (client.bottom - client.top < layout.minHeight) {
        client.bottom = client.top + layout.minHeight;
    }
}

int CBkDialogViewImplEx::BorderHitCode(POINT p) const {
    RECT client;
    ::GetClientRect(Handle(), &client);
    RECT inner = client;
    ::InflateRect(&inner, -kBorder, -kBorder);
    if (::PtInRect(&inner, p)) {
        return HTCLIENT;
    }
    const bool left = p.x < client.left + kBorder;
    const bool right = p.x >= client.right - kBorder;
    const bool top = p.y < client.top + kBorder;
    const bool bottom = p.y >= client.bottom - kBorder;
    if (top && left)
        return HTTOPLEFT;
    if (top && right)
        return HTTOPRIGHT;
    if (top)
        return HTTOP;
    if (left && !bottom)
        return HTLEFT;
    if (bottom && left)
        return HTBOTTOMLEFT;
    if (bottom && !right)
        return HTBOTTOM;
    if (bottom && right)
        return HTBOTTOMRIGHT;
    if (right)
        return HTRIGHT;
    return HTCLIENT;
}

bool CBkDialogViewImplEx::OnSetCursor() {
    if (CBkWindow* hovered = Control(hovered_)) {
        if (hovered->IsNativeWindowPlaceholder()) {
            return false;
        }
        if (!hovered->IsDisabled()) {
            hovered->SetControlCursor();
        }
    } else {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    }
    switch (hitCode_) {
        case HTLEFT:
        case HTRIGHT:
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            break;
        case HTTOP:
        case HTBOTTOM:
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
            break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENWSE));
            break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENESW));
            break;
        default:
            break;
    }
    return true;
}

bool CBkDialogViewImplEx::IsToolTipShown() const {
    return toolTip_ != nullptr && ::IsWindowVisible(toolTip_) != FALSE;
}

void CBkDialogViewImplEx::RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (toolTip_ == nullptr) {
        return;
    }
    MSG relay = {};
    relay.hwnd = Handle();
    relay.message = message;
    relay.wParam = wParam;
    relay.lParam = lParam;
    ::SendMessageW(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}

// ---- The host's message map ---------------------------------------------------------

bool CBkDialogViewImplEx::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, LRESULT& result) {
    result = 0;
    if (shadow_ && shadowEnabled_) {
        switch (message) {
            case WM_DESTROY:
            case WM_MOVE:
            case WM_SIZE:
            case WM_PAINT:
            case WM_SHOWWINDOW:
            case WM_MOVING:
            case WM_EXITSIZEMOVE:
                shadow_->OnHostMessage(window, message, wParam, lParam);
                break;
            default:
                break;
        }
    }
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE) {
        RelayToToolTip(message, wParam, lParam);  // moves: OnMouseMove decides
    }
    const POINT point = PointFrom(lParam);
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(window, &ps);
            if (IsLayeredPresentation()) {
                Paint(nullptr);
            } else {
                // The rest of the window already shows what the buffer holds.
                Paint(dc, &ps.rcPaint);
            }
            ::EndPaint(window, &ps);
            return true;
        }
        case WM_PRINT:
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return true;
        case WM_ERASEBKGND:
        case WM_NCACTIVATE:
        case WM_MOVE:
            result = 1;
            return true;
        case WM_NCPAINT:
            return true;
        case WM_NCCALCSIZE:
            // The whole window is client area, also in the first calculation
            // at creation (wParam FALSE): left to the default handler, the
            // layout's client edge would take 2 pixels off every side.
            if (lParam != 0) {
                ApplySizeRules(wParam != 0 ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                           : *reinterpret_cast<RECT*>(lParam));
            }
            return true;
        case WM_WINDOWPOSCHANGING:
            if (sections_.Description().holdSize && lParam != 0) {
                auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
                pos->cx = sections_.Description().width;
                pos->cy = sections_.Description().height;
            }
            return false;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            const BkWindowDescription& layout = sections_.Description();
            info->ptMinTrackSize = POINT{layout.width, layout.height};
            if (layout.resizable) {
                MONITORINFO monitor = {};
                monitor.cbSize = sizeof(monitor);
                ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
                const RECT& work = monitor.rcWork;
                info->ptMaxPosition =
                    POINT{work.left - monitor.rcMonitor.left, work.top - monitor.rcMonitor.top};
                info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
                info->ptMaxTrackSize = info->ptMaxSize;
            } else {
                info->ptMaxPosition = POINT{0, 0};
                info->ptMaxSize = POINT{layout.width, layout.height};
            }
            return true;
        }
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
            return true;
        case WM_SETFOCUS:
            if (HWND first = ::GetNextDlgTabItem(window, nullptr, FALSE)) {
                ::SetFocus(first);
            }
            return true;
        case WM_SHOWWINDOW:
            if (wParam != 0 && firstShow_) {
                firstShow_ = false;
                if (IsLayeredPresentation()) {
                    ::SendMessageW(window, WM_PAINT, 0, 0);
                }
            }
            return false;
        case WM_SIZE:
            OnSize(wParam);
            return true;
        case WM_DESTROY:
            paintDc_.Reset();
            backBuffer_.Reset();
            toolTip_ = nullptr;  // destroyed with its owner
            return false;
        case WM_NCHITTEST:
            if (sections_.Description().resizable && !IsChildWindow()) {
                POINT client = point;
                ::ScreenToClient(window, &client);
                hitCode_ = BorderHitCode(client);
            }
            result = HTCLIENT;
            return true;
        case WM_SETCURSOR:
            if (!OnSetCursor()) {
                return false;
            }
            result = TRUE;
            return true;
        case WM_MOUSEMOVE:
            OnMouseMove(wParam, point, lParam);
            return true;
        case WM_LBUTTONDOWN:
            OnLButtonDown(wParam, point, lParam);
            return true;
        case WM_LBUTTONUP:
            OnLButtonUp(wParam, point, lParam);
            return true;
        case WM_LBUTTONDBLCLK:
            OnLButtonDoubleClick(wParam, point, lParam);
            return true;
        case WM_RBUTTONDOWN:
            OnRButtonDown(wParam, point, lParam);
            return true;
        case WM_RBUTTONUP:
            OnRButtonUp(wParam, point, lParam);
            return true;
        case WM_MOUSELEAVE:
            OnMouseLeave();
            return true;
        case WM_CAPTURECHANGED:
            // Taken away (another window, a menu, a move loop) rather than
            // released by a button-up: the press ends without a click.
            if (captured_ && reinterpret_cast<HWND>(lParam) != window) {
                captured_ = false;
                rightPressed_ = 0;
                const std::int32_t handle = pressed_;
                pressed_ = 0;
                if (CBkWindow* pressed = Control(handle)) {
                    ChangeState(*pressed, 0, kStatePushed);
                }
            }
            return false;
        case WM_MOUSEWHEEL:
            if (CBkWindow* hovered = Control(hovered_)) {
                result = Pass(*hovered, WM_MOUSEWHEEL, wParam, lParam);
            }
            return true;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                BkNotify record = {};
                record.hdr.hwndFrom = window;
                record.hdr.idFrom = kHostNotifySource;
                record.hdr.code = kNotifyClick;
                record.controlId = LOWORD(wParam);
                record.classTag = "";
                ::SendMessageW(window, WM_NOTIFY, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(&record));
                return true;
            }
            return false;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header != nullptr && header->code == kNotifyRepaint) {
                InvalidateControlRect(reinterpret_cast<const BkNotifyRepaint*>(lParam)->rect);
                return true;
            }
            if (header != nullptr && header->code == TTN_GETDISPINFOW && toolTip_ != nullptr &&
                header->hwndFrom == toolTip_) {
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                const CBkWindow* hovered = Control(hovered_);
                info->lpszText =
                    hovered ? const_cast<wchar_t*>(hovered->GetToolTipText().c_str()) : nullptr;
                return true;
            }
            // Notifications from native children go back to them (OCM_ reflection).
            if (header != nullptr && header->hwndFrom != nullptr && header->hwndFrom != window &&
                ::IsChild(window, header->hwndFrom)) {
                result = ::SendMessageW(header->hwndFrom, kReflectBase + WM_NOTIFY, wParam, lParam);
                return true;
            }
            return false;
        }
        case kMsgSetToolTipText:
            if (toolTip_ != nullptr && wParam != 0) {
                toolTipText_ = reinterpret_cast<const wchar_t*>(wParam);
                TTTOOLINFOW tool = {};
                tool.cbSize = sizeof(tool);
                tool.hwnd = window;
                tool.uId = reinterpret_cast<UINT_PTR>(window);
                tool.lpszText = reinterpret_cast<wchar_t*>(wParam);
                ::SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
            }
            return true;
        case kMsgGetHostWindow:
            if (lParam != 0) {
                *reinterpret_cast<HWND*>(lParam) = window;
            }
            result = 1;
            return true;
        case kMsgIsLayeredHost:
            result = IsLayeredPresentation() ? 1 : 0;
            return true;
        default:
            return false;
    }
}

}  // namespace velora
