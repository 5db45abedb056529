#pragma once

#include <windows.h>

#include <vector>

#include "base/win_handles.h"

namespace velora {

// Whether this process runs with a full administrator token (elevated).
bool IsProcessElevated();

// Whether the program runs under Wine. Wine keeps no security descriptors on
// its Unix file system (it reports one made up from the Unix permissions),
// so a check of a folder's owner and DACL can only fail there.
bool RunsOnWine();

// The SID of the user this process runs as; empty when it cannot be read.
std::vector<BYTE> CurrentUserSid();

// A self-relative security descriptor built from SDDL; null on failure.
ScopedLocalMemory<PSECURITY_DESCRIPTOR> SecurityFromSddl(const wchar_t* sddl);

// True when `sid` is BUILTIN\Administrators or LocalSystem.
bool IsAdministratorsOrSystem(PSID sid);

// True when both ACLs hold the same ACEs in the same order (type, flags,
// rights and SID). Two null ACLs are equal; a null and a non-null are not.
bool SameAcl(PACL expected, PACL actual);

}  // namespace velora
