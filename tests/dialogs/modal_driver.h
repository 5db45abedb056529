#pragma once

#include <windows.h>

#include <functional>

namespace velora::test {

// Runs `action` once, from inside whatever message loop is running on this
// thread, `delayMs` after the call; for ending modal dialogs in tests.
void RunFromMessageLoop(UINT delayMs, std::function<void()> action);

// Sends the window the click record the engine sends for control `id`.
void SendClickRecord(HWND window, UINT id);

}  // namespace velora::test
