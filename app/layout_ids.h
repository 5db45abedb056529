#pragma once

#include <windows.h>

namespace velora {

// Layout documents of the installer's windows (resources of type "XML").
inline constexpr UINT kMainLayout = 103;
inline constexpr UINT kExitConfirmLayout = 104;
inline constexpr UINT kAgreementLayout = 106;
inline constexpr UINT kOldSystemLayout = 107;
inline constexpr UINT kProductRunningLayout = 108;

}  // namespace velora
