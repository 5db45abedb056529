#pragma once

#include <windows.h>

#include "base/unique_resource.h"

namespace velora {

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    // Some APIs report failure as INVALID_HANDLE_VALUE, others as NULL.
    static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Type h) { ::FindClose(h); }
};

struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type k) { return k != nullptr; }
    static void Close(Type k) { ::RegCloseKey(k); }
};

struct MappedViewTraits {
    using Type = void*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type p) { return p != nullptr; }
    static void Close(Type p) { ::UnmapViewOfFile(p); }
};

// Memory the system hands out with LocalAlloc (CommandLineToArgvW, SID strings).
template <typename T>
struct LocalMemoryTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type p) { return p != nullptr; }
    static void Close(Type p) { ::LocalFree(reinterpret_cast<HLOCAL>(p)); }
};

// GDI objects (fonts, brushes, pens, bitmaps, regions).
template <typename T>
struct GdiObjectTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type object) { return object != nullptr; }
    static void Close(Type object) { ::DeleteObject(object); }
};

// A COM interface pointer; the reference is released.
template <typename T>
struct ComInterfaceTraits {
    using Type = T*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type p) { return p != nullptr; }
    static void Close(Type p) { p->Release(); }
};

struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type icon) { return icon != nullptr; }
    static void Close(Type icon) { ::DestroyIcon(icon); }
};

using ScopedHandle = UniqueResource<KernelHandleTraits>;
using ScopedIcon = UniqueResource<IconTraits>;
using ScopedFindHandle = UniqueResource<FindHandleTraits>;
using ScopedRegKey = UniqueResource<RegKeyTraits>;
using ScopedMappedView = UniqueResource<MappedViewTraits>;
template <typename T>
using ScopedLocalMemory = UniqueResource<LocalMemoryTraits<T>>;
using ScopedFont = UniqueResource<GdiObjectTraits<HFONT>>;
using ScopedBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
template <typename T>
using ScopedComPtr = UniqueResource<ComInterfaceTraits<T>>;

}  // namespace velora
