#pragma once

#include <windows.h>

#include <utility>

#include "base/unique_resource.h"

namespace velora {

// Owners for native windows and window classes.

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type window) { return window != nullptr; }
    // An owned or child window may already be gone with its owner.
    static void Close(Type window) {
        if (::IsWindow(window)) {
            ::DestroyWindow(window);
        }
    }
};
using ScopedWindow = UniqueResource<WindowTraits>;

// A registered window class, unregistered when the owner goes.
class ScopedWindowClass {
  public:
    ScopedWindowClass() = default;
    explicit ScopedWindowClass(const WNDCLASSEXW& description)
        : atom_(::RegisterClassExW(&description)), instance_(description.hInstance) {}
    ~ScopedWindowClass() { Reset(); }
    ScopedWindowClass(ScopedWindowClass&& other) noexcept
        : atom_(std::exchange(other.atom_, ATOM{0})),
          instance_(std::exchange(other.instance_, nullptr)) {}
    ScopedWindowClass& operator=(ScopedWindowClass&& other) noexcept {
        if (this != &other) {
            Reset();
            atom_ = std::exchange(other.atom_, ATOM{0});
            instance_ = std::exchange(other.instance_, nullptr);
        }
        return *this;
    }
    ScopedWindowClass(const ScopedWindowClass&) = delete;
    ScopedWindowClass& operator=(const ScopedWindowClass&) = delete;

    bool IsValid() const { return atom_ != 0; }
    ATOM Atom() const { return atom_; }

  private:
    void Reset() {
        if (atom_ != 0) {
            // Fails harmlessly while windows of the class still exist.
            ::UnregisterClassW(MAKEINTATOM(atom_), instance_);
            atom_ = 0;
        }
    }

    ATOM atom_ = 0;
    HINSTANCE instance_ = nullptr;
};

}  // namespace velora
