#include "app/process_control.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
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

TEST(ProcessControl, TerminatesOnlyTheFirstOfTwoInstances) {
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
    const HANDLE both[] = {a.Get(), b.Get()};
    ASSERT_LT(WaitForMultipleObjects(2, both, FALSE, 5000), WAIT_OBJECT_0 + 2);
    Sleep(300);
    const int ended = (HasEnded(a, 0) ? 1 : 0) + (HasEnded(b, 0) ? 1 : 0);
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(FindProcessByName(kProductImageName));  // the second keeps running
}

}  // namespace
}  // namespace velora
