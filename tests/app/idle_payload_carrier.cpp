// Carries the idle stand-in as its "EXE" resource; loaded as data by tests.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
