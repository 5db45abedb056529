#include "app/progress_channel.h"

#include "app/process_security.h"

namespace velora {
namespace {

// Creates a named object and tells whether it existed before.
template <typename Create>
ScopedHandle CreateNamed(const wchar_t* name, Create create, bool& existed) {
    if (name == nullptr) {
        return ScopedHandle();
    }
    ScopedHandle handle(create());
    if (handle && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        existed = true;
    }
    return handle;
}

}  // namespace

ChannelAccess DefaultChannelAccess() {
    return IsProcessElevated() ? ChannelAccess::kAdministratorsOnly : ChannelAccess::kDefault;
}

ProgressChannel::ProgressChannel() : ProgressChannel(kProgressMappingName, kProgressEventName) {}

ProgressChannel::ProgressChannel(const wchar_t* mappingName, const wchar_t* eventName,
                                 ChannelAccess access) {
    ScopedLocalMemory<PSECURITY_DESCRIPTOR> security;
    if (access == ChannelAccess::kAdministratorsOnly) {
        security = SecurityFromSddl(kAdministratorsOnlySddl);
        if (!security) {
            return;  // never fall back to objects anybody may open
        }
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), security.Get(), FALSE};
    SECURITY_ATTRIBUTES* secured = security ? &attributes : nullptr;
    mapping_ = CreateNamed(
        mappingName,
        [&] {
            return ::CreateFileMappingW(INVALID_HANDLE_VALUE, secured, PAGE_READWRITE, 0,
                                        kProgressMappingBytes, mappingName);
        },
        taken_);
    if (mapping_) {
        view_.Reset(::MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    }
    event_ = CreateNamed(
        eventName, [&] { return ::CreateEventW(secured, FALSE, FALSE, eventName); }, taken_);
}

std::int32_t ProgressChannel::ReadPercent() const {
    if (!view_) {
        return 0;
    }
    // One aligned 32-bit load, written by another process without locking.
    return *static_cast<const volatile std::int32_t*>(view_.Get());
}

}  // namespace velora
