#pragma once

#include <windows.h>

#include <functional>

namespace velora::test {

// Dispatches this thread's messages (timers included) until `done` answers
// true or `ms` milliseconds have passed; answers what `done` last said.
bool PumpUntil(DWORD ms, const std::function<bool()>& done);

// Dispatches this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);

}  // namespace velora::test
