#include "tests/support/message_pump.h"

namespace velora::test {

bool PumpUntil(DWORD ms, const std::function<bool()>& done) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (done()) {
            return true;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
}

void PumpFor(DWORD ms) {
    PumpUntil(ms, [] { return false; });
}

}  // namespace velora::test
