// Shows a layout document in a host window, so the engine's drawing can be
// looked at before the installer's own windows exist.
//
//   layout_viewer <folder> <id> [snapshot.bmp]
//
// The layout is read from "<folder>\<id>.xml" (style, string and skin tables
// there are used too, after the built-in ones). With a snapshot path the
// window's back buffer is written there as a 32-bit BMP and the program ends;
// without one the window stays up until it is closed (Escape or Enter).
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwchar>
#include <memory>
#include <vector>

#include "controls/control_factory.h"
#include "markup/resource_loader.h"
#include "markup/skin_pool.h"
#include "markup/string_pool.h"
#include "markup/style_pool.h"
#include "ui/host_window.h"
#include "ui/notification.h"

namespace {

using namespace velora;

class ViewerDialog : public CBkDialogViewImplEx {
  public:
    explicit ViewerDialog(UINT id)
        : CBkDialogViewImplEx(id, &CBkStandardTier::Instance(),
                              std::make_unique<CBkControlCreator>()) {}

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_NOTIFY) {
            const auto* notify = reinterpret_cast<const BkNotify*>(lParam);
            if (notify->hdr.idFrom == kHostNotifySource && notify->hdr.code == kNotifyClick &&
                (notify->controlId == IDOK || notify->controlId == IDCANCEL)) {
                EndDialog(0);
                return true;
            }
        }
        return CBkDialogViewImplEx::ProcessWindowMessage(window, message, wParam, lParam, result);
    }
};

bool WriteBitmap(const wchar_t* path, HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 4);
    if (!::GetDIBits(dc, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                     DIB_RGB_COLORS)) {
        return false;
    }
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    HANDLE out = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = ::WriteFile(out, &file, sizeof(file), &written, nullptr) &&
              ::WriteFile(out, &header, sizeof(header), &written, nullptr) &&
              ::WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    ::CloseHandle(out);
    return ok;
}

int Snapshot(ViewerDialog& dialog, const wchar_t* path) {
    if (dialog.Create(nullptr) == nullptr) {
        return 2;
    }
    RECT client;
    ::GetClientRect(dialog.Handle(), &client);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    dialog.InvalidateAll();
    ::SendMessageW(dialog.Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::SelectObject(dc, old);
    const bool ok = WriteBitmap(path, dc, bitmap, client.right, client.bottom);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return ok ? 0 : 3;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 3) {
        return 1;
    }
    BkWindowModule::Init(instance);
    BkResourceLoader::Instance().SetOverrideDirectory(argv[1]);
    BkSkinObjectPool::Instance().Load(kSkinTableId);
    BkStylePool::Instance().Load(kStyleTableId);
    BkString::Instance().Load(kStringTableId);
    ViewerDialog dialog(static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10)));
    const int code = argc >= 4 ? Snapshot(dialog, argv[3]) : dialog.DoModal(nullptr);
    ::LocalFree(argv);
    BkWindowModule::Term();
    return code;
}
