// A stand-in process for tests that look for, end or launch programs by name:
// copied under the name a test needs. Writes its command line (UTF-16) to the
// file named by VELORA_ARGS_FILE when set, then waits VELORA_IDLE_MS
// milliseconds (default 30000) and exits 0.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t argsFile[MAX_PATH] = {};
    const DWORD fileChars = GetEnvironmentVariableW(L"VELORA_ARGS_FILE", argsFile, MAX_PATH);
    if (fileChars > 0 && fileChars < MAX_PATH) {
        HANDLE file = CreateFileW(argsFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            const wchar_t* line = GetCommandLineW();
            DWORD written = 0;
            WriteFile(file, line, static_cast<DWORD>(wcslen(line) * sizeof(wchar_t)), &written,
                      nullptr);
            CloseHandle(file);
        }
    }
    wchar_t idle[32] = {};
    DWORD idleMs = 30000;
    const DWORD idleChars = GetEnvironmentVariableW(L"VELORA_IDLE_MS", idle, 32);
    if (idleChars > 0 && idleChars < 32) {
        idleMs = static_cast<DWORD>(wcstoul(idle, nullptr, 10));
    }
    Sleep(idleMs);
    return 0;
}
