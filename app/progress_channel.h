#pragma once

#include <windows.h>

#include <cstdint>

#include "base/win_handles.h"

namespace velora {

// The setup program reports progress through these named objects: it writes the
// percentage as a 32-bit integer at offset 0 of the mapping, then sets the event.
inline constexpr wchar_t kProgressMappingName[] = L"VELORA_TRAVO_MAP";
inline constexpr wchar_t kProgressEventName[] = L"VELORA_TRAVO_NOTIFY";
inline constexpr DWORD kProgressMappingBytes = 4096;

// Who may open the two objects besides their maker.
enum class ChannelAccess {
    kAdministratorsOnly,  // elevated: Administrators and SYSTEM (the setup program
                          // runs with the installer's token)
    kDefault,             // not elevated: the default for this user's objects
};
// kAdministratorsOnly when this process is elevated, else kDefault.
ChannelAccess DefaultChannelAccess();
inline constexpr wchar_t kAdministratorsOnlySddl[] = L"D:P(A;;GA;;;BA)(A;;GA;;;SY)";

// Creates the mapping, its view and the auto-reset event. Each part is made
// independently of the others; a missing part is simply absent. Objects of
// these names that exist already were made by somebody else, who could then
// report any progress: the channel counts as taken and must not be used.
class ProgressChannel {
  public:
    ProgressChannel();
    // Under other names; a null name leaves that part absent (for tests of
    // a channel that could not be made whole).
    ProgressChannel(const wchar_t* mappingName, const wchar_t* eventName,
                    ChannelAccess access = DefaultChannelAccess());
    ProgressChannel(const ProgressChannel&) = delete;
    ProgressChannel& operator=(const ProgressChannel&) = delete;
    ~ProgressChannel() = default;

    // True when the mapping or the event existed before this channel made it.
    bool IsTaken() const { return taken_; }
    HANDLE Mapping() const { return mapping_.Get(); }
    HANDLE Event() const { return event_.Get(); }
    bool HasView() const { return view_.IsValid(); }
    // The last percentage written by the setup program; 0 without a view.
    std::int32_t ReadPercent() const;

  private:
    // Declaration order matters: the view is unmapped before its mapping closes.
    ScopedHandle mapping_;
    ScopedMappedView view_;
    ScopedHandle event_;
    bool taken_ = false;
};

}  // namespace velora
