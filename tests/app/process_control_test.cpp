#include "app/process_control.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cwctype>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "base/win_handles.h"
#include "tests/support/test_files.h"

namespace velora {
namespace {

using test::BuiltProgramPath;
using test::TempFolder;

// Copies the idle stand-in program to `folder\name` and starts it.
ScopedHandle StartAs(const TempFolder& folder, const std::wstring& name) {
    const std::wstring path = folder / name;
    EXPECT_TRUE(CopyFileW(BuiltProgramPath(L"idle_process.exe").c_str(), path.c_str(), FALSE));
    ScopedHandle process = test::StartProgram(L"\"" + path + L"\"");
    EXPECT_TRUE(process);
    return process;
}

bool HasEnded(const ScopedHandle& process, DWORD waitMs) {
    return WaitForSingleObject(process.Get(), waitMs) == WAIT_OBJECT_0;
}

// Ends whatever a test left running.
struct ProcessReaper {
    std::vector<ScopedHandle*> processes;
    ~ProcessReaper() {
        for (ScopedHandle* process : processes) {
            if (*process && !HasEnded(*process, 0)) {
                TerminateProcess(process->Get(), 1);
                HasEnded(*process, 2000);  // so that its folder can go
            }
        }
    }
};

TEST(ProcessControl, NoNameOrNoMatchFindsNothing) {
    EXPECT_FALSE(FindProcessByName(nullptr));
    EXPECT_FALSE(FindProcessByName(L""));
    EXPECT_FALSE(FindProcessByName(L"velora-no-such-program.exe"));
    EXPECT_TRUE(TerminateProcessByName(nullptr));
    EXPECT_TRUE(TerminateProcessByName(L"velora-no-such-program.exe"));
}

TEST(ProcessControl, FindsTheRunningTestProgramItself) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const wchar_t* name = wcsrchr(self, L'\\');
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(FindProcessByName(name + 1));
}

TEST(ProcessControl, NameIsComparedIgnoringCase) {
    TempFolder folder(L"velora_process_case");
    ScopedHandle upper = StartAs(folder, L"DOVANIX.EXE");
    ProcessReaper reaper{{&upper}};
    EXPECT_TRUE(FindProcessByName(kProductImageName));
    EXPECT_TRUE(FindProcessByName(L"dovanix.exe"));
    EXPECT_TRUE(TerminateProcessByName(kProductImageName));
    EXPECT_TRUE(HasEnded(upper, 5000));
    EXPECT_FALSE(FindProcessByName(kProductImageName));
}

TEST(ProcessControl, EndsEveryInstanceByNameAndWaitsForThem) {
    TempFolder first(L"velora_process_first");
    TempFolder second(L"velora_process_second");
    ScopedHandle a = StartAs(first, kProductImageName);
    ScopedHandle b = StartAs(second, kProductImageName);
    ProcessReaper reaper{{&a, &b}};

    // Another name matches neither.
    EXPECT_TRUE(TerminateProcessByName(kUpdaterImageName));
    EXPECT_FALSE(HasEnded(a, 300));
    EXPECT_FALSE(HasEnded(b, 0));

    EXPECT_TRUE(TerminateProcessByName(kProductImageName));
    EXPECT_TRUE(HasEnded(a, 0));
    EXPECT_TRUE(HasEnded(b, 0));
    EXPECT_FALSE(FindProcessByName(kProductImageName));
}

// Two instances of the product installed in <temp>\Velora and one of a program
// of the same name elsewhere.
class ProductInstances : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryW(installDir_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((installDir_ + L"\\Program").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((root_ / L"elsewhere").c_str(), nullptr));
        installed_[0] = StartAs(root_, L"Velora\\Program\\Dovanix.exe");
        installed_[1] = test::StartProgram(L"\"" + installDir_ + L"\\Program\\Dovanix.exe\"");
        other_ = StartAs(root_, L"elsewhere\\Dovanix.exe");
        ASSERT_TRUE(installed_[1]);
    }
    bool InstalledEnded() { return HasEnded(installed_[0], 0) && HasEnded(installed_[1], 0); }

    TempFolder root_{L"velora_process_product"};
    const std::wstring installDir_ = root_ / L"Velora";
    ScopedHandle installed_[2];
    ScopedHandle other_;
    ProcessReaper reaper_{{&installed_[0], &installed_[1], &other_}};
};

// Ways the install directory may reach the product check.
std::wstring AsGiven(const std::wstring& dir) {
    return dir;
}
std::wstring Respelt(const std::wstring& dir) {
    std::wstring spelt = dir + L"\\";
    for (wchar_t& c : spelt) {
        c = c == L'\\' ? L'/' : static_cast<wchar_t>(towupper(c));
    }
    return spelt;
}
std::wstring Unknown(const std::wstring&) {
    return std::wstring();
}

struct InstallDirCase {
    const char* name;
    std::wstring (*spell)(const std::wstring& installDir);
    bool endsTheOther;
};

void PrintTo(const InstallDirCase& c, std::ostream* os) {
    *os << c.name;
}

class ProductInstancesByDir : public ProductInstances,
                              public ::testing::WithParamInterface<InstallDirCase> {};

TEST_P(ProductInstancesByDir, EndsAllItMatchesAndWaitsForThem) {
    const std::wstring dir = GetParam().spell(installDir_);
    const ProcessMatch product = MatchProduct(dir.c_str());
    EXPECT_TRUE(AnyRunning(product));
    EXPECT_TRUE(EndAll(product, kEndProcessTimeoutMs));
    EXPECT_TRUE(InstalledEnded());
    EXPECT_EQ(HasEnded(other_, 0), GetParam().endsTheOther);
    EXPECT_FALSE(AnyRunning(product));
}

INSTANTIATE_TEST_SUITE_P(
    ProcessControl, ProductInstancesByDir,
    ::testing::Values(InstallDirCase{"AsGiven", &AsGiven, false},
                      InstallDirCase{"OtherCaseSlashesAndTrailingSeparator", &Respelt, false},
                      InstallDirCase{"UnknownMatchesByName", &Unknown, true}),
    [](const ::testing::TestParamInfo<InstallDirCase>& info) { return info.param.name; });

TEST_F(ProductInstances, InstancesOfAnotherSessionAreLeftAlone) {
    // Everything here runs in one session: ask about the next one.
    ProcessMatch product = MatchProduct(installDir_.c_str());
    ASSERT_NE(product.sessionId, kNoSession);
    ++product.sessionId;
    EXPECT_FALSE(AnyRunning(product));
    EXPECT_TRUE(EndAll(product, 500));
    EXPECT_FALSE(HasEnded(installed_[0], 300));
    EXPECT_FALSE(HasEnded(installed_[1], 0));
}

TEST_F(ProductInstances, OneThatCannotBeOpenedToEndItFails) {
    ScopedHandle guarded = test::StartProgram(L"\"" + installDir_ + L"\\Program\\Dovanix.exe\"",
                                              test::kEndingDeniedSddl);
    ASSERT_TRUE(guarded);
    ProcessReaper reaper{{&guarded}};
    EXPECT_FALSE(EndAll(MatchProduct(installDir_.c_str()), kEndProcessTimeoutMs));
    EXPECT_FALSE(HasEnded(guarded, 0));
}

// Stand-ins for TerminateProcess: one that ends nothing, and one that ends the
// process 300 ms later, as one slow to exit would.
BOOL WINAPI LeaveRunning(HANDLE, UINT) {
    return TRUE;
}
BOOL WINAPI EndLater(HANDLE process, UINT exitCode) {
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &copy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        return FALSE;
    }
    std::thread([copy, exitCode] {
        Sleep(300);
        TerminateProcess(copy, exitCode);
        CloseHandle(copy);
    }).detach();
    return TRUE;
}

struct SlowEndCase {
    const char* name;
    TerminateFunction terminate;
    bool endsInTime;
};

void PrintTo(const SlowEndCase& c, std::ostream* os) {
    *os << c.name;
}

class ProductInstancesEnding : public ProductInstances,
                               public ::testing::WithParamInterface<SlowEndCase> {};

TEST_P(ProductInstancesEnding, WaitsBoundedAndTellsWhetherAllExited) {
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(EndAll(MatchProduct(installDir_.c_str()), 1000, GetParam().terminate),
              GetParam().endsInTime);
    EXPECT_LT(GetTickCount64() - start, 1800u);
    EXPECT_EQ(InstalledEnded(), GetParam().endsInTime);
}

INSTANTIATE_TEST_SUITE_P(ProcessControl, ProductInstancesEnding,
                         ::testing::Values(SlowEndCase{"ExitingLate", &EndLater, true},
                                           SlowEndCase{"NotExiting", &LeaveRunning, false}),
                         [](const ::testing::TestParamInfo<SlowEndCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace velora
