#include "app/shutdown_block.h"

#include "markup/system_library.h"

namespace velora {
namespace {

// Vista's: resolved at run time, the installer also runs on XP.
using ShutdownBlockReasonCreateFn = BOOL(WINAPI*)(HWND, LPCWSTR);
using ShutdownBlockReasonDestroyFn = BOOL(WINAPI*)(HWND);

}  // namespace

void ShutdownBlock::Hold(HWND window, const wchar_t* reason) {
    if (held_ || window == nullptr) {
        return;
    }
    held_ = true;
    window_ = window;
    const auto create =
        LoadedFunction<ShutdownBlockReasonCreateFn>(L"user32.dll", "ShutdownBlockReasonCreate");
    if (create != nullptr && reason != nullptr) {
        create(window, reason);
    }
}

void ShutdownBlock::Release() {
    if (!held_) {
        return;
    }
    held_ = false;
    const auto destroy =
        LoadedFunction<ShutdownBlockReasonDestroyFn>(L"user32.dll", "ShutdownBlockReasonDestroy");
    // A window already gone took its reason with it.
    if (destroy != nullptr && ::IsWindow(window_)) {
        destroy(window_);
    }
    window_ = nullptr;
}

}  // namespace velora
