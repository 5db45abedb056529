// The installer's own icon (resource 128) loads at the sizes the shell and
// the window ask for, and draws the picture, not an empty frame.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/gdi_scopes.h"
#include "tests/support/test_canvas.h"
#include "tests/support/test_files.h"

namespace velora {
namespace {

TEST(InstallerIconTest, LoadsAndDrawsAtEverySizeItCarries) {
    const std::wstring path = test::BuiltProgramPath(L"VeloraSetup.exe");
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(nullptr, module) << "cannot open the installer's resources";
    for (int side : {16, 24, 32, 48, 256}) {
        HICON icon = static_cast<HICON>(
            ::LoadImageW(module, MAKEINTRESOURCEW(128), IMAGE_ICON, side, side, 0));
        ASSERT_NE(nullptr, icon) << side;
        test::Canvas canvas(side, side, RGB(255, 255, 255));
        EXPECT_TRUE(::DrawIconEx(canvas.Dc(), 0, 0, icon, side, side, 0, nullptr, DI_NORMAL));
        // A corner stays clear (rounded tile); the tile's colour is blue-violet.
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(0, 0)) << side;
        const COLORREF inside = canvas.At(side / 8, side / 2);
        EXPECT_GT(GetBValue(inside), 200) << side;
        EXPECT_LT(GetGValue(inside), 160) << side;
        ::DestroyIcon(icon);
    }
    ::FreeLibrary(module);
}

}  // namespace
}  // namespace velora
