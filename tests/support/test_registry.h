#pragma once

#include <windows.h>

#include <string>

namespace velora::test {

// Removes a registry key (and everything below it) now and again when the
// guard goes, so each test starts from and leaves a clean prefix.
class RegistryKeyRemoval {
  public:
    RegistryKeyRemoval(HKEY root, std::wstring subkey);
    ~RegistryKeyRemoval();
    RegistryKeyRemoval(const RegistryKeyRemoval&) = delete;
    RegistryKeyRemoval& operator=(const RegistryKeyRemoval&) = delete;

  private:
    HKEY root_;
    std::wstring subkey_;
};

// Writes raw bytes as a value of the given type, creating the key.
void WriteRegistryValue(HKEY root, const std::wstring& subkey, const wchar_t* name, DWORD type,
                        const void* data, DWORD bytes);
// Writes a REG_SZ value with its terminator.
void WriteRegistryString(HKEY root, const std::wstring& subkey, const wchar_t* name,
                         const std::wstring& value);
bool RegistryKeyExists(HKEY root, const std::wstring& subkey);

}  // namespace velora::test
