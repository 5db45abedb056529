#include "app/progress_channel.h"

namespace velora {

ProgressChannel::ProgressChannel()
    : mapping_(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    kProgressMappingBytes, kProgressMappingName)),
      view_(mapping_ ? ::MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr),
      event_(::CreateEventW(nullptr, FALSE, FALSE, kProgressEventName)) {}

std::int32_t ProgressChannel::ReadPercent() const {
    if (!view_) {
        return 0;
    }
    // One aligned 32-bit load, written by another process without locking.
    return *static_cast<const volatile std::int32_t*>(view_.Get());
}

}  // namespace velora
