// Demo product laid down by the demo setup program: one window saying that
// Velora is installed, with the folder it runs from and its channel name.
#include <windows.h>

#include <cwchar>

namespace {

const wchar_t kWindowClass[] = L"DovanixDemoWindow";
const COLORREF kAccent = RGB(0x2F, 0x6B, 0xFF);
const COLORREF kInk = RGB(0x32, 0x32, 0x32);
const COLORREF kMuted = RGB(0x80, 0x86, 0x90);

wchar_t g_folder[MAX_PATH] = {};
wchar_t g_channel[MAX_PATH] = {};

// The installer writes its own file name, in the ANSI code page, to
// Profiles\channel.dat beside the Program folder.
void ReadChannel() {
    wchar_t path[MAX_PATH] = {};
    if (std::swprintf(path, MAX_PATH, L"%ls\\..\\Profiles\\channel.dat", g_folder) < 0) {
        return;
    }
    HANDLE file =
        ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    char bytes[MAX_PATH] = {};
    DWORD read = 0;
    if (::ReadFile(file, bytes, MAX_PATH - 1, &read, nullptr) && read > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(read), g_channel, MAX_PATH - 1);
    }
    ::CloseHandle(file);
}

HFONT MakeFont(int height, int weight) {
    return ::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                         L"Microsoft YaHei");
}

void DrawLine(HDC dc, HFONT font, COLORREF color, RECT rect, const wchar_t* text) {
    HGDIOBJ old = ::SelectObject(dc, font);
    ::SetTextColor(dc, color);
    ::DrawTextW(dc, text, -1, &rect,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SelectObject(dc, old);
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT client;
    ::GetClientRect(window, &client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));

    RECT band = {0, 0, client.right, 6};
    HBRUSH accent = ::CreateSolidBrush(kAccent);
    ::FillRect(dc, &band, accent);
    ::DeleteObject(accent);

    HFONT title = MakeFont(-30, FW_BOLD);
    HFONT body = MakeFont(-15, FW_NORMAL);
    ::SetBkMode(dc, TRANSPARENT);
    DrawLine(dc, title, kAccent, RECT{32, 36, client.right - 32, 80}, L"Velora");
    DrawLine(dc, body, kInk, RECT{32, 90, client.right - 32, 116},
             L"Velora 已安装完成，欢迎使用。");
    wchar_t line[MAX_PATH + 16] = {};
    std::swprintf(line, MAX_PATH + 16, L"安装位置：%ls", g_folder);
    DrawLine(dc, body, kMuted, RECT{32, 130, client.right - 32, 154}, line);
    if (g_channel[0] != L'\0') {
        std::swprintf(line, MAX_PATH + 16, L"安装来源：%ls", g_channel);
        DrawLine(dc, body, kMuted, RECT{32, 158, client.right - 32, 182}, line);
    }
    ::DeleteObject(title);
    ::DeleteObject(body);
    ::EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const DWORD len = ::GetModuleFileNameW(nullptr, g_folder, MAX_PATH);
    if (len > 0 && len < MAX_PATH) {
        wchar_t* slash = std::wcsrchr(g_folder, L'\\');
        if (slash != nullptr) {
            *slash = L'\0';
        }
    }
    ReadChannel();

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(128));
    wc.lpszClassName = kWindowClass;
    ::RegisterClassExW(&wc);

    HWND window = ::CreateWindowExW(
        0, kWindowClass, L"Velora", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, 520, 260, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ::ShowWindow(window, show);
    ::UpdateWindow(window);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
