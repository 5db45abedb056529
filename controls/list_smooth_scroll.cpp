#include "controls/list_smooth_scroll.h"
#include "base/bounded_format.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace velora {

int ListSmoothScroll::NextStep(int remaining) {
    if (remaining <= 0) {
        return 0;
    }
    const int step = remaining >= 32 ? 30 : std::max(10, remaining / 2);
    return std::min(step, remaining);
}

void ListSmoothScroll::Start(int total, bool down) {
    total_ = std::max(0, total);
    scrolled_ = 0;
    down_ = down;
    step_ = 0;
}

int ListSmoothScroll::Tick() {
    Trace("before");
    step_ = NextStep(total_ - scrolled_);
    scrolled_ += step_;
    Trace("end");
    return down_ ? step_ : -step_;
}

void ListSmoothScroll::Trace(const char* when) const {
#ifdef NDEBUG
    (void)when;  // debugger output is for debug builds only
#else
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    char line[256];
    FormatBounded(line, sizeof(line),
                  "TimerScroll:%s:m_bkTimerScroll=nTotalScroll=%d, nScolled=%d, bAdd=%d, "
                  "nChange=%d{ %02d %02d %02d %03d }\n",
                  when, total_, scrolled_, down_ ? 1 : 0, step_, now.wHour, now.wMinute,
                  now.wSecond, now.wMilliseconds);
    ::OutputDebugStringA(line);
#endif
}

}  // namespace velora
