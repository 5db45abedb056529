#include "tests/robustness/process_counters.h"

#include <psapi.h>

#include <vector>

namespace velora::test {
namespace {

// Makes objects with `make` until it fails (or the ceiling is reached), frees
// them with `free`, and returns ceiling minus the number made.
template <typename Make, typename Free>
long RoomTaken(std::size_t ceiling, Make make, Free free) {
    std::vector<void*> made;
    made.reserve(1 << 16);
    while (made.size() < ceiling) {
        void* object = make();
        if (object == nullptr) {
            break;
        }
        made.push_back(object);
    }
    for (void* object : made) {
        free(object);
    }
    return static_cast<long>(ceiling - made.size());
}

BOOL CALLBACK CountChildren(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

BOOL CALLBACK CountOwnTopLevel(HWND window, LPARAM count) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId()) {
        ++*reinterpret_cast<long*>(count);
        ::EnumChildWindows(window, CountChildren, count);
    }
    return TRUE;
}

}  // namespace

long LiveGdiObjectCount() {
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) {
        return static_cast<long>(counted);
    }
    return RoomTaken(
        1 << 20, [] { return static_cast<void*>(::CreateSolidBrush(RGB(1, 2, 3))); },
        [](void* brush) { ::DeleteObject(static_cast<HGDIOBJ>(brush)); });
}

long LiveUserObjectCount() {
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (counted != 0) {
        return static_cast<long>(counted);
    }
    // Menus are USER objects that cost nothing to make and take a slot each.
    return RoomTaken(
        1 << 17, [] { return static_cast<void*>(::CreateMenu()); },
        [](void* menu) { ::DestroyMenu(static_cast<HMENU>(menu)); });
}

long ProcessWindowCount() {
    long count = 0;
    ::EnumWindows(CountOwnTopLevel, reinterpret_cast<LPARAM>(&count));
    // Message-only windows are not enumerated by EnumWindows.
    HWND message = nullptr;
    while ((message = ::FindWindowExW(HWND_MESSAGE, message, nullptr, nullptr)) != nullptr) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(message, &process);
        if (process == ::GetCurrentProcessId()) {
            ++count;
        }
    }
    return count;
}

std::size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(::GetCurrentProcess(),
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof(memory)) &&
        memory.PrivateUsage != 0) {
        return memory.PrivateUsage;
    }
    // Wine reports 0: add up the committed private regions of the address space.
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION region = {};
    for (const char* at = nullptr; ::VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
        if (region.RegionSize == 0) {
            break;
        }
    }
    return total;
}

ProcessCounters ReadProcessCounters() {
    ProcessCounters counters;
    counters.gdiObjects = LiveGdiObjectCount();
    counters.userObjects = LiveUserObjectCount();
    counters.windows = ProcessWindowCount();
    counters.privateBytes = PrivateBytes();
    return counters;
}

}  // namespace velora::test
