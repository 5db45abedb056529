#pragma once

#include <cstdint>

namespace velora {

// Where the installation stands; read by close requests, written by the UI
// thread and the install worker.
enum class InstallState : std::int32_t {
    Idle = 0,
    Installing = 1,
    Finished = 2,
};

}  // namespace velora
