// A program with the imports the installer must not have: version.dll, and
// comctl32 without a Common Controls 6 manifest. The import check must refuse it.
#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ::InitCommonControls();
    return static_cast<int>(::GetFileVersionInfoSizeW(L"kernel32.dll", nullptr));
}
