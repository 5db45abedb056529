#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "markup/system_library.h"

namespace velora {
namespace {

// Built beside the test program, as a planted DLL would be beside the installer.
constexpr wchar_t kPlanted[] = L"planted_probe.dll";

std::wstring ModuleFolder(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring full(path, length);
    return full.substr(0, full.rfind(L'\\'));
}

TEST(DllSearchTest, PlantedDllIsLoadableByBareNameAtAll) {
    // Without this the tests below would pass for the wrong reason.
    ScopedModule planted(::LoadLibraryW(kPlanted));
    ASSERT_TRUE(planted) << "the probe DLL must lie beside the test program";
    EXPECT_EQ(ModuleFolder(nullptr), ModuleFolder(planted.Get()));
}

TEST(DllSearchTest, SystemLibrariesComeFromSystem32Only) {
    EXPECT_FALSE(LoadSystemLibrary(kPlanted)) << "a DLL beside the program must not load";

    ScopedModule system(LoadSystemLibrary(L"msimg32.dll"));
    ASSERT_TRUE(system);
    wchar_t folder[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryW(folder, MAX_PATH), 0u);
    EXPECT_EQ(0, _wcsicmp(folder, ModuleFolder(system.Get()).c_str()));
}

TEST(DllSearchTest, RestrictedProcessNoLongerLoadsFromItsOwnFolder) {
    // In a child process: the restriction lasts for the whole process.
    EXPECT_EXIT(
        {
            const bool restricted = RestrictDllSearchToSystem32();
            const HMODULE planted = ::LoadLibraryW(kPlanted);
            const HMODULE system = ::LoadLibraryW(L"msimg32.dll");
            std::exit(!restricted ? 2 : planted != nullptr ? 3 : system == nullptr ? 4 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace velora
