#include "ui/window_impl.h"

#include <string>
#include <vector>

#include "ui/message_params.h"

namespace velora {
namespace {

const wchar_t kHostClassName[] = L"BkHostWindow";

struct ModuleState {
    HINSTANCE instance = nullptr;
    std::vector<std::wstring> classes;
};

ModuleState& State() {
    static ModuleState state;
    return state;
}

}  // namespace

void BkWindowModule::Init(HINSTANCE instance) {
    State().instance = instance;
}

void BkWindowModule::Term() {
    for (const std::wstring& name : State().classes) {
        ::UnregisterClassW(name.c_str(), Instance());
    }
    State().classes.clear();
}

HINSTANCE BkWindowModule::Instance() {
    return State().instance ? State().instance : ::GetModuleHandleW(nullptr);
}

bool BkWindowModule::RegisterClassOnce(const wchar_t* className, UINT classStyle,
                                       WNDPROC procedure) {
    for (const std::wstring& name : State().classes) {
        if (name == className) {
            return true;
        }
    }
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = classStyle;
    wc.lpfnWndProc = procedure;
    wc.hInstance = Instance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    State().classes.push_back(className);
    return true;
}

CBkWindowImpl::~CBkWindowImpl() {
    DestroyNative();
}

HWND CBkWindowImpl::CreateNative(HWND owner, const RECT& rect, const wchar_t* title, DWORD style,
                                 DWORD exStyle) {
    // Double clicks are part of the engine's input; no class background, the
    // host paints every pixel itself. A DC of its own makes drawing a hover
    // straight into the window cheap.
    return CreateNativeOfClass(kHostClassName, CS_DBLCLKS | CS_OWNDC, owner, rect, title, style,
                               exStyle);
}

HWND CBkWindowImpl::CreateNativeOfClass(const wchar_t* className, UINT classStyle,
                                        HWND parentOrOwner, const RECT& rect, const wchar_t* title,
                                        DWORD style, DWORD exStyle, UINT_PTR id) {
    if (!BkWindowModule::RegisterClassOnce(className, classStyle, &WindowProc)) {
        return nullptr;
    }
    return ::CreateWindowExW(exStyle, className, title, style, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parentOrOwner,
                             reinterpret_cast<HMENU>(id), BkWindowModule::Instance(), this);
}

CBkWindowImpl* CBkWindowImpl::FromHostWindow(HWND window) {
    DWORD process = 0;
    if (window == nullptr || ::GetWindowThreadProcessId(window, &process) == 0 ||
        process != ::GetCurrentProcessId()) {
        return nullptr;
    }
    wchar_t className[64] = {};
    if (::GetClassNameW(window, className, 64) == 0 || ::lstrcmpW(className, kHostClassName) != 0) {
        return nullptr;
    }
    return reinterpret_cast<CBkWindowImpl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

void CBkWindowImpl::DestroyNative() {
    if (window_ != nullptr && ::IsWindow(window_)) {
        ::DestroyWindow(window_);
    }
    window_ = nullptr;
}

LRESULT CALLBACK CBkWindowImpl::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* self = reinterpret_cast<CBkWindowImpl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        const auto* create = ParamAddress<const CREATESTRUCTW>(lParam);
        self = static_cast<CBkWindowImpl*>(create->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self != nullptr) {
            self->window_ = window;
        }
    }
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    const bool handled = self->ProcessWindowMessage(window, message, wParam, lParam, result);
    if (!handled) {
        result = ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->OnFinalMessage(window);
    }
    return result;
}

}  // namespace velora
