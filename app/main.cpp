#include <windows.h>

#include "app/driver.h"
#include "markup/system_library.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything can load a DLL: the installer often runs elevated from
    // a Downloads folder, where a planted DLL must never be picked up.
    velora::RestrictDllSearchToSystem32();
    return velora::RunInstaller(instance);
}
