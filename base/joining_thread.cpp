#include "base/joining_thread.h"

namespace velora {

bool JoiningThread::Start(Function function, void* context) {
    if (handle_ || function == nullptr) {
        return false;
    }
    handle_.Reset(::CreateThread(nullptr, 0, function, context, 0, nullptr));
    return handle_.IsValid();
}

void JoiningThread::Join() {
    if (handle_) {
        ::WaitForSingleObject(handle_.Get(), INFINITE);
        handle_.Reset();
    }
}

}  // namespace velora
