#pragma once

#include <windows.h>

#include <functional>

#include "tests/support/message_pump.h"

namespace velora::test {

// Runs `action` once, from inside whatever message loop is running on this
// thread, `delayMs` after the call; for driving modal dialogs in tests.
// Several actions may be pending at once.
void RunFromMessageLoop(UINT delayMs, std::function<void()> action);

// Sends the window the click record the engine sends for control `id`.
void SendClickRecord(HWND window, UINT id);

// The visible message dialog ("提示"), or null; and how many there are.
HWND FindMessageDialog();
int CountMessageDialogs();

}  // namespace velora::test
