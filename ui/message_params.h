#pragma once

#include <windows.h>

namespace velora {

// Window messages carry structures by address and handles by value. These are
// the one place that turns either into a message parameter and back.

template <typename T>
LPARAM AddressParam(T& value) {
    return reinterpret_cast<LPARAM>(&value);
}

// The address a parameter made by AddressParam carries (null when it is 0).
template <typename T>
T* ParamAddress(LPARAM param) {
    return reinterpret_cast<T*>(param);
}

// The structure a parameter made by AddressParam points at; never 0.
template <typename T>
T& ParamAt(LPARAM param) {
    return *ParamAddress<T>(param);
}

// GDI and window handles (HDC, HFONT, HWND, ...) as a WPARAM or LPARAM.
template <typename Handle>
WPARAM HandleParam(Handle handle) {
    return reinterpret_cast<WPARAM>(handle);
}

template <typename Handle>
Handle ParamHandle(WPARAM param) {
    return reinterpret_cast<Handle>(param);
}

}  // namespace velora
