#include "app/process_security.h"

#include <sddl.h>

#include <cstring>

namespace velora {

bool IsProcessElevated() {
    ScopedHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive())) {
        return false;
    }
    TOKEN_ELEVATION elevation = {};
    DWORD bytes = 0;
    return ::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation),
                                 &bytes) &&
           elevation.TokenIsElevated != 0;
}

bool RunsOnWine() {
    // ntdll is a known DLL, always the system's own: a planted copy cannot
    // make this answer true on Windows.
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::vector<BYTE> CurrentUserSid() {
    ScopedHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive())) {
        return {};
    }
    DWORD bytes = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &bytes);
    if (bytes == 0) {
        return {};
    }
    std::vector<BYTE> buffer(bytes);
    if (!::GetTokenInformation(token.Get(), TokenUser, buffer.data(), bytes, &bytes)) {
        return {};
    }
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    if (!::IsValidSid(sid)) {
        return {};
    }
    const DWORD length = ::GetLengthSid(sid);
    std::vector<BYTE> out(length);
    if (!::CopySid(length, out.data(), sid)) {
        return {};
    }
    return out;
}

ScopedLocalMemory<PSECURITY_DESCRIPTOR> SecurityFromSddl(const wchar_t* sddl) {
    ScopedLocalMemory<PSECURITY_DESCRIPTOR> security;
    if (sddl == nullptr || !::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                               sddl, SDDL_REVISION_1, security.Receive(), nullptr)) {
        security.Reset();
    }
    return security;
}

bool IsAdministratorsOrSystem(PSID sid) {
    if (sid == nullptr || !::IsValidSid(sid)) {
        return false;
    }
    return ::IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
           ::IsWellKnownSid(sid, WinLocalSystemSid);
}

bool SameAcl(PACL expected, PACL actual) {
    if (expected == nullptr || actual == nullptr) {
        return expected == actual;
    }
    ACL_SIZE_INFORMATION want = {};
    ACL_SIZE_INFORMATION have = {};
    if (!::GetAclInformation(expected, &want, sizeof(want), AclSizeInformation) ||
        !::GetAclInformation(actual, &have, sizeof(have), AclSizeInformation) ||
        want.AceCount != have.AceCount) {
        return false;
    }
    for (DWORD i = 0; i < want.AceCount; ++i) {
        void* a = nullptr;
        void* b = nullptr;
        if (!::GetAce(expected, i, &a) || !::GetAce(actual, i, &b)) {
            return false;
        }
        const auto* headerA = static_cast<const ACE_HEADER*>(a);
        const auto* headerB = static_cast<const ACE_HEADER*>(b);
        // Allow and deny ACEs share one layout: header, mask, then the SID.
        const bool simple = headerA->AceType == ACCESS_ALLOWED_ACE_TYPE ||
                            headerA->AceType == ACCESS_DENIED_ACE_TYPE;
        if (!simple || headerA->AceType != headerB->AceType ||
            headerA->AceFlags != headerB->AceFlags) {
            return false;
        }
        const auto* aceA = static_cast<const ACCESS_ALLOWED_ACE*>(a);
        const auto* aceB = static_cast<const ACCESS_ALLOWED_ACE*>(b);
        if (aceA->Mask != aceB->Mask ||
            !::EqualSid(const_cast<DWORD*>(&aceA->SidStart), const_cast<DWORD*>(&aceB->SidStart))) {
            return false;
        }
    }
    return true;
}

}  // namespace velora
