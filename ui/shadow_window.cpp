#include "ui/shadow_window.h"

#include "markup/nine_grid.h"
#include "markup/skin_pool.h"

namespace velora {
namespace {

// The class lives as long as the process; every shadow window shares it.
bool RegisterShadowClass() {
    static const ScopedWindowClass registration = [] {
        WNDCLASSEXW description = {};
        description.cbSize = sizeof(description);
        description.style = CS_HREDRAW | CS_VREDRAW;
        description.lpfnWndProc = ::DefWindowProcW;
        description.hInstance = ::GetModuleHandleW(nullptr);
        description.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        description.lpszClassName = CShadowWnd::kClassName;
        return ScopedWindowClass(description);
    }();
    return registration.IsValid();
}

RECT HostWindowRect(HWND host) {
    RECT rect = {};
    ::GetWindowRect(host, &rect);
    return rect;
}

bool HasVisibleStyle(HWND host) {
    return (::GetWindowLongW(host, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The default picture: the skin "dlg_shadow" cut into square corners of
// (width - 2) / 2 and the edge strips between them, stretched along the
// sides; the middle stays clear. Nothing when the pool has no such skin (the
// built-in skins do not define it).
void DrawDefaultShadowPicture(HDC dc, const RECT& rect) {
    CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin(kDefaultShadowSkin);
    if (skin == nullptr) {
        return;
    }
    const SIZE size = skin->GetSkinSize();
    const int corner = (size.cx - 2) / 2;
    if (corner <= 0 || size.cy <= 0) {
        return;
    }
    const RECT source = {0, 0, size.cx, size.cy};
    const RECT margins = {corner, corner, corner, corner};
    DrawNineGrid(dc, *skin, rect, source, margins, NineGridMiddle::kSkip);
}

}  // namespace

ShadowCanvas RenderShadowPicture(const RECT& hostRect, int size, IShadowPaintHook* hook) {
    // 64-bit arithmetic: a hostile rectangle must not wrap into a small size.
    const long long border = size < 0 ? 0 : size;
    const long long width = static_cast<long long>(hostRect.right) - hostRect.left + 2 * border;
    const long long height = static_cast<long long>(hostRect.bottom) - hostRect.top + 2 * border;
    if (hostRect.right <= hostRect.left || hostRect.bottom <= hostRect.top ||
        width > ShadowCanvas::kMaxSide || height > ShadowCanvas::kMaxSide) {
        return ShadowCanvas();
    }
    ShadowCanvas canvas = ShadowCanvas::Create(static_cast<int>(width), static_cast<int>(height));
    if (!canvas.IsValid()) {
        return canvas;
    }
    const RECT bounds = canvas.Bounds();
    if (hook == nullptr || hook->PaintShadow(canvas.Dc(), bounds) != 0) {
        DrawDefaultShadowPicture(canvas.Dc(), bounds);
    }
    return canvas;
}

CShadowWnd::~CShadowWnd() {
    Destroy();
}

bool CShadowWnd::Create(HWND host) {
    if (created_) {
        return true;
    }
    if (!::IsWindow(host) || !RegisterShadowClass()) {
        return false;
    }
    window_.Reset(::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kClassName, nullptr,
                                    WS_POPUPWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, host,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr));
    if (!window_) {
        return false;
    }
    parent_ = host;
    state_ |= kActive;
    created_ = true;
    return true;
}

bool CShadowWnd::OnHostMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!created_) {
        return false;
    }
    switch (message) {
        case WM_MOVING:
            if (!moving_) {
                Hide();
                SetShown(false);
                moving_ = true;
            }
            break;
        case WM_MOVE:
            if (!moving_ && IsShown()) {
                const RECT rect = HostWindowRect(host);
                if (::IsRectEmpty(&rect)) {
                    Hide();
                    SetShown(false);
                } else {
                    ::SetWindowPos(window_.Get(), nullptr, rect.left - size_, rect.top - size_, 0,
                                   0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
                }
            }
            break;
        case WM_EXITSIZEMOVE:
            if (moving_) {
                Refresh(host);
                moving_ = false;
            } else if (IsShown()) {
                Repaint(host);
            }
            break;
        case WM_SIZE:
            OnSize(host, wParam, lParam);
            break;
        case WM_PAINT:
            if (!moving_ && needsRepaint_) {
                Repaint(host);
                needsRepaint_ = false;
            }
            break;
        case WM_SHOWWINDOW:
            if ((state_ & kActive) && wParam == 0) {
                Hide();
                state_ &= static_cast<std::uint8_t>(~(kShown | kHostVisible));
            }
            break;
        case WM_DESTROY:
            Destroy();
            break;
        default:
            return false;
    }
    return true;
}

void CShadowWnd::OnSize(HWND host, WPARAM kind, LPARAM size) {
    if (kind == SIZE_MINIMIZED) {
        Hide();
        SetShown(false);
        lastSize_ = size;
        return;
    }
    const RECT rect = HostWindowRect(host);
    if (::IsRectEmpty(&rect)) {
        Hide();
        SetShown(false);
        return;
    }
    if (HasVisibleStyle(host)) {
        state_ |= kHostVisible;
        if (!IsShown()) {
            SetShown(true);
            Repaint(host);
            ShowWithoutActivating();
        } else if (size != lastSize_) {
            needsRepaint_ = true;
        }
    }
    lastSize_ = size;
}

void CShadowWnd::Refresh(HWND host) {
    if (!created_) {
        return;
    }
    state_ &= kActive;
    if (HasVisibleStyle(host)) {
        state_ |= kHostVisible;
        if (!::IsIconic(host)) {
            state_ |= kShown;
        }
    }
    if (IsShown()) {
        Repaint(host);
        ShowWithoutActivating();
    } else {
        Hide();
    }
}

void CShadowWnd::Repaint(HWND host) {
    const RECT hostRect = HostWindowRect(host);
    const ShadowCanvas canvas = RenderShadowPicture(hostRect, size_, hook_);
    if (!canvas.IsValid()) {
        return;
    }
    POINT position = {hostRect.left - size_, hostRect.top - size_};
    SIZE extent = {canvas.Width(), canvas.Height()};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(window_.Get(), nullptr, &position, &extent, canvas.Dc(), &source, 0,
                          &blend, ULW_ALPHA);
}

void CShadowWnd::Hide() {
    if (window_) {
        ::ShowWindow(window_.Get(), SW_HIDE);
    }
}

void CShadowWnd::ShowWithoutActivating() {
    if (window_) {
        ::ShowWindow(window_.Get(), SW_SHOWNA);
    }
}

void CShadowWnd::SetShown(bool shown) {
    if (shown) {
        state_ |= kShown;
    } else {
        state_ &= static_cast<std::uint8_t>(~kShown);
    }
}

void CShadowWnd::Destroy() {
    if (window_ && ::IsWindow(window_.Get())) {
        ::ShowWindow(window_.Get(), SW_HIDE);
    }
    window_.Reset();
    parent_ = nullptr;
    created_ = false;
    moving_ = false;
}

}  // namespace velora
