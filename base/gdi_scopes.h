#pragma once

#include <windows.h>

#include "base/unique_resource.h"
#include "base/win_handles.h"

namespace velora {

// Owners for the GDI and module handles of the drawing code. Each is
// move-only and releases on every path.

struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type dc) { return dc != nullptr; }
    static void Close(Type dc) { ::DeleteDC(dc); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type module) { return module != nullptr; }
    static void Close(Type module) { ::FreeLibrary(module); }
};

struct GlobalMemoryTraits {
    using Type = HGLOBAL;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type memory) { return memory != nullptr; }
    static void Close(Type memory) { ::GlobalFree(memory); }
};

using ScopedMemoryDc = UniqueResource<MemoryDcTraits>;
using ScopedModule = UniqueResource<ModuleTraits>;
using ScopedGlobalMemory = UniqueResource<GlobalMemoryTraits>;
using ScopedBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using ScopedPen = UniqueResource<GdiObjectTraits<HPEN>>;
using ScopedRegion = UniqueResource<GdiObjectTraits<HRGN>>;

// Selects an object into a DC and puts the previous one back when it goes.
class ScopedSelectObject {
  public:
    ScopedSelectObject() = default;
    ScopedSelectObject(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(dc && object ? ::SelectObject(dc, object) : nullptr) {
        if (old_ == nullptr || old_ == HGDI_ERROR) {
            dc_ = nullptr;  // nothing was selected, nothing to restore
            old_ = nullptr;
        }
    }
    ~ScopedSelectObject() { Restore(); }
    ScopedSelectObject(ScopedSelectObject&& other) noexcept : dc_(other.dc_), old_(other.old_) {
        other.dc_ = nullptr;
        other.old_ = nullptr;
    }
    ScopedSelectObject& operator=(ScopedSelectObject&& other) noexcept {
        if (this != &other) {
            Restore();
            dc_ = other.dc_;
            old_ = other.old_;
            other.dc_ = nullptr;
            other.old_ = nullptr;
        }
        return *this;
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

    // False when the selection failed (the object is then not in the DC).
    bool IsSelected() const { return dc_ != nullptr; }

  private:
    void Restore() {
        if (dc_ != nullptr) {
            ::SelectObject(dc_, old_);
            dc_ = nullptr;
            old_ = nullptr;
        }
    }

    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Narrows a DC's clip region to a rectangle and puts the previous clip
// (or none) back when it goes.
class ScopedClipRect {
  public:
    ScopedClipRect(HDC dc, const RECT& rect) : dc_(dc), saved_(::CreateRectRgn(0, 0, 0, 0)) {
        if (saved_ && ::GetClipRgn(dc_, saved_.Get()) != 1) {
            saved_.Reset();  // the DC had no clip region
        }
        ::IntersectClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom);
    }
    ~ScopedClipRect() { ::SelectClipRgn(dc_, saved_.Get()); }
    ScopedClipRect(const ScopedClipRect&) = delete;
    ScopedClipRect& operator=(const ScopedClipRect&) = delete;

  private:
    HDC dc_;
    ScopedRegion saved_;
};

// Puts a DC's whole state (selected objects, modes, colours, clip, origins)
// back when it goes. Nothing is restored when the save failed.
class ScopedSavedDc {
  public:
    explicit ScopedSavedDc(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
    ~ScopedSavedDc() {
        if (saved_ != 0) {
            ::RestoreDC(dc_, saved_);
        }
    }
    ScopedSavedDc(const ScopedSavedDc&) = delete;
    ScopedSavedDc& operator=(const ScopedSavedDc&) = delete;

  private:
    HDC dc_;
    int saved_;
};

// Sets one of a DC's modes and puts the previous one back when it goes; a
// change that failed (the setter answered 0) is not undone.
template <int(WINAPI* Set)(HDC, int)>
class ScopedDcMode {
  public:
    ScopedDcMode(HDC dc, int mode) : dc_(dc), old_(Set(dc, mode)) {}
    ~ScopedDcMode() {
        if (old_ != 0) {
            Set(dc_, old_);
        }
    }
    ScopedDcMode(const ScopedDcMode&) = delete;
    ScopedDcMode& operator=(const ScopedDcMode&) = delete;

  private:
    HDC dc_;
    int old_;
};

using ScopedBkMode = ScopedDcMode<::SetBkMode>;
using ScopedStretchMode = ScopedDcMode<::SetStretchBltMode>;

// The screen's DC, released when it goes.
class ScopedScreenDc {
  public:
    ScopedScreenDc() : dc_(::GetDC(nullptr)) {}
    ~ScopedScreenDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(nullptr, dc_);
        }
    }
    ScopedScreenDc(const ScopedScreenDc&) = delete;
    ScopedScreenDc& operator=(const ScopedScreenDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

}  // namespace velora
