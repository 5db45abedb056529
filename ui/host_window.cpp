#include "ui/host_window.h"

#include "ui/message_params.h"
#include "ui/host_link.h"
#include "ui/host_messages.h"
#include "markup/skin_pool.h"
#include "ui/accessible_client.h"
#include "ui/control_creator.h"
#include "ui/control_registry.h"
#include "ui/notification.h"
#include "ui/shadow_window.h"

namespace velora {

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
    painter_.DropDirtyRegion();
    if (shadowEnabled_ && !sections_.IsChildWindow()) {
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
    focus_.Start();
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
    modal_.Reset();
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
        BringWindowToFront(window, painter_.IsLayered());
    }
    modal_.Run(window);
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
    return modal_.Result();
}

bool CBkDialogViewImplEx::LoadLayout(UINT id) {
    // From now on this is the window's layout: Create must not fall back to
    // the constructor's when this one is missing.
    layoutId_ = id;
    const BkLayoutLoad result = sections_.Load(id);
    if (result == BkLayoutLoad::kLoadedIntoWindow) {
        pointer_.Forget();
        focus_.Forget();
        focus_.Start();
    }
    if (result == BkLayoutLoad::kRejected || result == BkLayoutLoad::kLoadedIntoWindow) {
        InvalidateAll();
    }
    return Succeeded(result);
}

void CBkDialogViewImplEx::LayoutSections() {
    if (sections_.LayoutToHostClient()) {
        InvalidateAll();
        focus_.ScheduleCheck();  // a control may have left the window
    }
}

void CBkDialogViewImplEx::InvalidateControlRect(const RECT& rect) {
    painter_.Invalidate(rect);
    focus_.ScheduleCheck();
}

// ---- Painting ----------------------------------------------------------------------

void CBkDialogViewImplEx::PaintContent(HDC dc, HRGN region, const RECT& area) {
    const std::string& frame = sections_.Description().frameSkin;
    if (CBkSkinBase* skin = frame.empty() ? nullptr : BkSkinObjectPool::Instance().GetSkin(frame)) {
        skin->Draw(dc, area, 0);
    }
    sections_.Header().RedrawRegion(dc, region);
    sections_.Body().RedrawRegion(dc, region);
    sections_.Footer().RedrawRegion(dc, region);
    if (overlay_ && !sections_.IsChildWindow()) {
        DrawFrameOverlay(dc);
    }
    focus_.Paint(dc, region);
}

void CBkDialogViewImplEx::AfterPaint() {
    if (shadow_ && !shadow_->IsShown() && !shadow_->IsMoving()) {
        shadow_->Refresh(Handle());
    }
}

bool CBkDialogViewImplEx::ActivateControl(std::int32_t handle) {
    CBkWindow* control = BkControlRegistry::Lookup(handle);
    return control != nullptr && control->Host() == Handle() && control->IsVisible() &&
           pointer_.Activate(*control);
}

bool CBkDialogViewImplEx::ProcessWindowMessage(HWND /*window*/, UINT message, WPARAM wParam,
                                               LPARAM lParam, LRESULT& result) {
    result = 0;
    ForwardToShadow(message, wParam, lParam);
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE) {
        toolTip_.Relay(message, wParam, lParam);  // moves: the pointer decides
    }
    return RunMapped(message, wParam, lParam, result);
}

void CBkDialogViewImplEx::ForwardToShadow(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!shadow_ || !shadowEnabled_) {
        return;
    }
    switch (message) {
        case WM_DESTROY:
        case WM_MOVE:
        case WM_SIZE:
        case WM_PAINT:
        case WM_SHOWWINDOW:
        case WM_MOVING:
        case WM_EXITSIZEMOVE:
            shadow_->OnHostMessage(Handle(), message, wParam, lParam);
            break;
        default:
            break;
    }
}

// ---- Window and painting messages ---------------------------------------------------

bool CBkDialogViewImplEx::OnPaint(WPARAM, LPARAM, LRESULT&) {
    painter_.PaintWindow();
    return true;
}

bool CBkDialogViewImplEx::OnPrint(WPARAM wParam, LPARAM, LRESULT&) {
    painter_.Paint(ParamHandle<HDC>(wParam));
    return true;
}

bool CBkDialogViewImplEx::AnswerOne(WPARAM, LPARAM, LRESULT& result) {
    result = 1;
    return true;
}

bool CBkDialogViewImplEx::AnswerZero(WPARAM, LPARAM, LRESULT&) {
    return true;  // no native frame is ever drawn
}

bool CBkDialogViewImplEx::OnNcCalcSize(WPARAM wParam, LPARAM lParam, LRESULT&) {
    // The whole window is client area, also in the first calculation at
    // creation (wParam FALSE): left to the default handler, the layout's
    // client edge would take 2 pixels off every side.
    if (lParam != 0) {
        ApplySizeRules(sections_.Description(), wParam != 0
                                                    ? ParamAt<NCCALCSIZE_PARAMS>(lParam).rgrc[0]
                                                    : ParamAt<RECT>(lParam));
    }
    return true;
}

bool CBkDialogViewImplEx::OnWindowPosChanging(WPARAM, LPARAM lParam, LRESULT&) {
    if (sections_.Description().holdSize && lParam != 0) {
        auto* pos = ParamAddress<WINDOWPOS>(lParam);
        pos->cx = sections_.Description().width;
        pos->cy = sections_.Description().height;
    }
    return false;
}

bool CBkDialogViewImplEx::OnGetMinMaxInfo(WPARAM, LPARAM lParam, LRESULT&) {
    FillMinMaxInfo(sections_.Description(), Handle(), ParamAt<MINMAXINFO>(lParam));
    return true;
}

bool CBkDialogViewImplEx::OnGetDlgCode(WPARAM, LPARAM, LRESULT& result) {
    result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
    return true;
}

bool CBkDialogViewImplEx::OnSetFocus(WPARAM, LPARAM, LRESULT&) {
    if (focus_.OnSetFocus()) {
        return true;
    }
    if (HWND first = ::GetNextDlgTabItem(Handle(), nullptr, FALSE)) {
        ::SetFocus(first);
    }
    return true;
}

bool CBkDialogViewImplEx::OnKillFocus(WPARAM, LPARAM, LRESULT&) {
    focus_.OnKillFocus();
    return false;
}

// ---- The keyboard ---------------------------------------------------------------------

bool CBkDialogViewImplEx::OnChangeUiState(WPARAM wParam, LPARAM, LRESULT&) {
    if (sections_.IsChildWindow()) {
        return false;  // the system asks the parent
    }
    // A top-level window applies the change to itself and its children.
    ::SendMessageW(Handle(), WM_UPDATEUISTATE, wParam, 0);
    return true;
}

bool CBkDialogViewImplEx::OnUpdateUiState(WPARAM wParam, LPARAM, LRESULT&) {
    focus_.OnUpdateUiState(wParam);
    return false;  // the system keeps the state and passes it to the children
}

bool CBkDialogViewImplEx::OnTranslateKey(WPARAM, LPARAM lParam, LRESULT& result) {
    result = lParam != 0 && focus_.TranslateKey(ParamAt<const MSG>(lParam)) ? 1 : 0;
    return true;
}

bool CBkDialogViewImplEx::OnCheckFocus(WPARAM, LPARAM, LRESULT&) {
    focus_.Check();
    return true;
}

bool CBkDialogViewImplEx::OnShowWindow(WPARAM wParam, LPARAM, LRESULT&) {
    if (wParam != 0 && firstShow_) {
        firstShow_ = false;
        if (painter_.IsLayered()) {
            ::SendMessageW(Handle(), WM_PAINT, 0, 0);  // Windows never paints it on its own
        }
    }
    return false;
}

bool CBkDialogViewImplEx::OnSize(WPARAM wParam, LPARAM, LRESULT&) {
    HWND window = Handle();
    if (wParam == SIZE_MINIMIZED) {
        return true;
    }
    if (wParam == SIZE_MAXIMIZED && !sections_.Description().resizable) {
        ::SetWindowLongPtrW(window, GWL_STYLE,
                            ::GetWindowLongPtrW(window, GWL_STYLE) & ~WS_MAXIMIZE);
        Centre(::GetWindow(window, GW_OWNER));
        return true;
    }
    RECT client;
    ::GetClientRect(window, &client);
    if (client.right == 0) {
        return true;
    }
    painter_.FitBuffer(client.right, client.bottom);
    LayoutSections();
    painter_.RequireFullRedraw();
    return true;
}

bool CBkDialogViewImplEx::OnDestroy(WPARAM, LPARAM, LRESULT&) {
    painter_.Release();
    toolTip_.Detach();
    return false;
}

// ---- Mouse messages -----------------------------------------------------------------

bool CBkDialogViewImplEx::OnNcHitTest(WPARAM, LPARAM lParam, LRESULT& result) {
    pointer_.OnNcHitTest(lParam);
    result = HTCLIENT;
    return true;
}

bool CBkDialogViewImplEx::OnSetCursor(WPARAM, LPARAM, LRESULT& result) {
    if (!pointer_.OnSetCursor()) {
        return false;
    }
    result = TRUE;
    return true;
}

bool CBkDialogViewImplEx::OnLButtonDown(WPARAM wParam, LPARAM lParam, LRESULT&) {
    pointer_.OnLButtonDown(wParam, lParam);
    focus_.OnPointerPress(pointer_.PressedHandle());
    return true;
}

bool CBkDialogViewImplEx::OnMouseLeave(WPARAM, LPARAM, LRESULT&) {
    pointer_.OnMouseLeave();
    return true;
}

bool CBkDialogViewImplEx::OnCaptureChanged(WPARAM, LPARAM lParam, LRESULT&) {
    pointer_.OnCaptureChanged(ParamHandle<HWND>(lParam));
    return false;
}

bool CBkDialogViewImplEx::OnMouseWheel(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = pointer_.OnMouseWheel(wParam, lParam);
    return true;
}

// ---- Commands, notifications and the engine's own messages --------------------------

bool CBkDialogViewImplEx::OnCommand(WPARAM wParam, LPARAM, LRESULT&) {
    if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) {
        return false;
    }
    // Enter and Escape (through IsDialogMessageW) are clicks on ids 1 and 2.
    BkNotify record = {};
    record.hdr.hwndFrom = Handle();
    record.hdr.idFrom = kHostNotifySource;
    record.hdr.code = kNotifyClick;
    record.controlId = LOWORD(wParam);
    record.classTag = "";
    NotifyHost(Handle(), static_cast<WPARAM>(-1), record.hdr);
    return true;
}

bool CBkDialogViewImplEx::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const auto* header = ParamAddress<const NMHDR>(lParam);
    if (header == nullptr) {
        return false;
    }
    if (header->code == kNotifyRepaint) {
        // A control's own repaint (hover, press) moves no focus.
        painter_.Invalidate(ParamAddress<const BkNotifyRepaint>(lParam)->rect);
        return true;
    }
    if (toolTip_.AnswerTextRequest(*header, lParam, pointer_.Hovered())) {
        return true;
    }
    // Notifications from native children go back to them (OCM_ reflection).
    HWND window = Handle();
    if (header->hwndFrom != nullptr && header->hwndFrom != window &&
        ::IsChild(window, header->hwndFrom)) {
        result = ::SendMessageW(header->hwndFrom, kReflectBase + WM_NOTIFY, wParam, lParam);
        return true;
    }
    return false;
}

bool CBkDialogViewImplEx::OnSetToolTipText(WPARAM wParam, LPARAM, LRESULT&) {
    toolTip_.SetText(ParamHandle<const wchar_t*>(wParam));
    return true;
}

bool CBkDialogViewImplEx::OnGetHostWindow(WPARAM, LPARAM lParam, LRESULT& result) {
    if (lParam != 0) {
        ParamAt<HWND>(lParam) = Handle();
    }
    result = 1;
    return true;
}

bool CBkDialogViewImplEx::OnIsLayeredHost(WPARAM, LPARAM, LRESULT& result) {
    result = painter_.IsLayered() ? 1 : 0;
    return true;
}

// ---- Screen readers ---------------------------------------------------------------

bool CBkDialogViewImplEx::OnGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return AnswerClientObject(Handle(), wParam, lParam, result);
}

bool CBkDialogViewImplEx::OnActivateControl(WPARAM wParam, LPARAM, LRESULT&) {
    ActivateControl(static_cast<std::int32_t>(wParam));
    return true;
}

}  // namespace velora
