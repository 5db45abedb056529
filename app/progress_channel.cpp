#include "app/progress_channel.h"

namespace velora {

ProgressChannel::ProgressChannel() : ProgressChannel(kProgressMappingName, kProgressEventName) {}

ProgressChannel::ProgressChannel(const wchar_t* mappingName, const wchar_t* eventName)
    : mapping_(mappingName != nullptr
                   ? ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          kProgressMappingBytes, mappingName)
                   : nullptr),
      view_(mapping_ ? ::MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr),
      event_(eventName != nullptr ? ::CreateEventW(nullptr, FALSE, FALSE, eventName) : nullptr) {}

std::int32_t ProgressChannel::ReadPercent() const {
    if (!view_) {
        return 0;
    }
    // One aligned 32-bit load, written by another process without locking.
    return *static_cast<const volatile std::int32_t*>(view_.Get());
}

}  // namespace velora
