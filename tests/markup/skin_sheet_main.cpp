// Draws every built-in skin in its states onto one sheet and writes it as a
// 32-bit BMP file, for looking at the pictures as the installer draws them.
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/gdi_scopes.h"
#include "markup/dib32.h"
#include "markup/gradient_fill.h"
#include "markup/skin_pool.h"

namespace velora {
namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 520;

void Draw(HDC dc, const char* name, int x, int y, int width, int height, int state) {
    if (CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin(name)) {
        skin->Draw(dc, {x, y, x + width, y + height}, state);
    }
}

// Natural-size cells of a four-state skin, side by side.
void States(HDC dc, const char* name, int x, int y, int gap) {
    CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin(name);
    if (skin == nullptr) {
        return;
    }
    const SIZE size = skin->GetSkinSize();
    for (int state = 0; state < 4; ++state) {
        const int left = x + state * (size.cx + gap);
        skin->Draw(dc, {left, y, left + size.cx, y + size.cy}, state);
    }
}

bool WriteBmp(const wchar_t* path, const Dib32& dib) {
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = dib.Width();
    info.biHeight = -dib.Height();
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const DWORD pixels = static_cast<DWORD>(dib.Width() * dib.Height() * 4);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + pixels;
    FILE* out = _wfopen(path, L"wb");
    if (out == nullptr) {
        return false;
    }
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    std::fwrite(dib.Pixels(), pixels, 1, out);
    return std::fclose(out) == 0;
}

int Run(const wchar_t* path) {
    if (!BkSkinObjectPool::Instance().Load(kSkinTableId)) {
        return 2;
    }
    ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
    Dib32 sheet = Dib32::Create(kWidth, kHeight);
    ScopedSelectObject selected(dc.Get(), sheet.Handle());
    FillSolid(dc.Get(), {0, 0, kWidth, kHeight}, RGB(0xFF, 0xFF, 0xFF));
    FillSolid(dc.Get(), {0, 0, kWidth, 64}, RGB(0xF4, 0xF8, 0xFF));  // header tint

    Draw(dc.Get(), "big_logo", 20, 18, 116, 28, 0);
    States(dc.Get(), "dlg_btn_min", 660, 20, 8);
    States(dc.Get(), "dlg_btn_close", 780, 20, 8);
    States(dc.Get(), "cust_install_down", 180, 24, 8);
    States(dc.Get(), "cust_install_up", 290, 24, 8);
    States(dc.Get(), "corvane_btn_inst", 20, 84, 20);
    States(dc.Get(), "cmn_checkbox", 20, 160, 12);
    States(dc.Get(), "cmn_checkbox_check", 130, 160, 12);
    States(dc.Get(), "cmn_radio", 240, 160, 12);
    States(dc.Get(), "cmn_radio_check", 340, 160, 12);
    Draw(dc.Get(), "msgtip_icon", 460, 150, 32, 32, -1);

    Draw(dc.Get(), "progressbg", 20, 210, 500, 4, 0);
    Draw(dc.Get(), "progresspos", 20, 210, 180, 4, 0);
    Draw(dc.Get(), "progressbg", 20, 230, 3, 4, 0);
    const int buttonStates[] = {0x00, 0x01, 0x03, 0x10};
    for (int i = 0; i < 4; ++i) {
        Draw(dc.Get(), "common_btn", 20 + i * 110, 260, 96, 30, buttonStates[i]);
    }
    Draw(dc.Get(), "tipbg", 480, 256, 200, 40, 0);

    // The shadow around a window-sized white panel, as the shadow window shows it.
    FillSolid(dc.Get(), {0, 320, kWidth, kHeight}, RGB(0xE9, 0xEC, 0xF1));
    Draw(dc.Get(), "mainwnd_shadow", 40, 340, 330, 160, 0);
    FillSolid(dc.Get(), {45, 345, 365, 495}, RGB(0xFF, 0xFF, 0xFF));
    Draw(dc.Get(), "corvane_btn_inst", 107, 400, 196, 48, 1);
    ::GdiFlush();
    // GDI fills leave alpha at 0; the sheet is opaque.
    for (int i = 0; i < kWidth * kHeight; ++i) {
        sheet.Pixels()[i] |= 0xFF000000u;
    }
    return WriteBmp(path, sheet) ? 0 : 3;
}

}  // namespace
}  // namespace velora

int wmain(int argc, wchar_t** argv) {
    return argc == 2 ? velora::Run(argv[1]) : 1;
}
