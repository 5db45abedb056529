#pragma once

#include <windows.h>

#include <cstddef>

namespace velora::test {

// What the process holds, for checking that repeated work gives it all back.
// Under Wine GetGuiResources reports 0, so GDI and USER objects are then
// counted as the room taken from a fixed ceiling: fill the handle table until
// it refuses, count, free.
struct ProcessCounters {
    long gdiObjects = 0;
    long userObjects = 0;
    long windows = 0;  // top-level and child windows of this process
    std::size_t privateBytes = 0;
};

long LiveGdiObjectCount();
long LiveUserObjectCount();
long ProcessWindowCount();
std::size_t PrivateBytes();
ProcessCounters ReadProcessCounters();

}  // namespace velora::test
