#include "markup/gradient_fill.h"

#include "markup/system_library.h"

namespace velora {
namespace {

using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

TRIVERTEX Vertex(LONG x, LONG y, COLORREF color) {
    TRIVERTEX vertex = {};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(GetRValue(color) << 8);
    vertex.Green = static_cast<COLOR16>(GetGValue(color) << 8);
    vertex.Blue = static_cast<COLOR16>(GetBValue(color) << 8);
    vertex.Alpha = 0;
    return vertex;
}

}  // namespace

bool FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to,
                  GradientDirection direction) {
    ScopedModule library = LoadSystemLibrary(L"msimg32.dll");
    if (!library) {
        return false;
    }
    const auto gradientFill = reinterpret_cast<GradientFillFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library.Get(), "GradientFill")));
    if (gradientFill == nullptr) {
        return false;
    }
    TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, from),
                             Vertex(rect.right, rect.bottom, to)};
    GRADIENT_RECT mesh = {0, 1};
    const ULONG mode =
        direction == GradientDirection::kVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H;
    return gradientFill(dc, vertices, 2, &mesh, 1, mode) != FALSE;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    const COLORREF old = ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

}  // namespace velora
