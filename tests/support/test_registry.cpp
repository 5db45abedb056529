#include "tests/support/test_registry.h"

#include <gtest/gtest.h>

namespace velora::test {

RegistryKeyRemoval::RegistryKeyRemoval(HKEY root, std::wstring subkey)
    : root_(root), subkey_(std::move(subkey)) {
    ::RegDeleteTreeW(root_, subkey_.c_str());
}

RegistryKeyRemoval::~RegistryKeyRemoval() {
    ::RegDeleteTreeW(root_, subkey_.c_str());
}

void WriteRegistryValue(HKEY root, const std::wstring& subkey, const wchar_t* name, DWORD type,
                        const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_WRITE,
                                               nullptr, &key, nullptr));
    const LONG status = ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes);
    ::RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, status);
}

void WriteRegistryString(HKEY root, const std::wstring& subkey, const wchar_t* name,
                         const std::wstring& value) {
    WriteRegistryValue(root, subkey, name, REG_SZ, value.c_str(),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool RegistryKeyExists(HKEY root, const std::wstring& subkey) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

}  // namespace velora::test
