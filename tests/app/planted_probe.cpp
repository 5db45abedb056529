// A harmless DLL that tests put beside their program, where a planted DLL
// would lie, to show the installer's loading never picks it up.
#include <windows.h>

extern "C" __declspec(dllexport) int PlantedProbe() {
    return 42;
}
