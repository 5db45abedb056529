#include <windows.h>

#include "app/driver.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return velora::RunInstaller(instance);
}
