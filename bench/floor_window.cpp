// The floor for the start-up figures of scripts/bench: the least a Windows
// program does to show a 610 x 414 window (the installer's size).
//
//   floor_window            shows the window until it is closed
//   floor_window /hidden    keeps a never-shown window alive, so Wine's desktop
//                           process stays up between the measured runs
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const bool hidden = std::wcsstr(commandLine, L"/hidden") != nullptr;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"VeloraBenchFloor";
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"floor", WS_POPUP, 100, 100, 610,
                                    414, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    if (!hidden) {
        ::ShowWindow(window, SW_SHOW);
        ::UpdateWindow(window);
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
    return 0;
}
