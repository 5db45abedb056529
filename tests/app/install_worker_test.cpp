#include "app/install_worker.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/process_security.h"
#include "tests/support/test_files.h"

namespace velora {
namespace {

using test::BuiltProgramPath;
using test::ScopedEnvironmentVariable;
using test::TempFolder;

// A message-only window that keeps the percentages posted to it.
class ProgressSink {
  public:
    ProgressSink() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VeloraProgressSink";
        ::RegisterClassW(&wc);
        window_ = ::CreateWindowW(L"VeloraProgressSink", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ProgressSink() { ::DestroyWindow(window_); }

    HWND Handle() const { return window_; }
    const std::vector<int>& Reports() const { return reports_; }

    // Pumps messages until `done` holds and nothing is left queued, or the time is up.
    template <typename Done>
    bool PumpUntil(Done done, DWORD timeoutMs = 30000) {
        const DWORD start = ::GetTickCount();
        for (;;) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::DispatchMessageW(&message);
            }
            if (done()) {
                ::Sleep(20);
                while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                    ::DispatchMessageW(&message);
                }
                return true;
            }
            if (::GetTickCount() - start > timeoutMs) {
                return false;
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INSTALL_PROGRESS) {
            auto* self =
                reinterpret_cast<ProgressSink*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
            self->reports_.push_back(static_cast<int>(wParam));
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    std::vector<int> reports_;
};

SetupLaunch StartProgram(const std::wstring& commandLine) {
    SetupLaunch launch;
    launch.process = test::StartProgram(commandLine);
    if (!launch.process) {
        launch.error = SetupLaunchError::kNotStarted;
    }
    return launch;
}

// Starts the demo setup program straight from the build folder.
InstallWorker::Launcher DemoSetup() {
    return [](const wchar_t* dir) {
        return StartProgram(L"\"" + BuiltProgramPath(L"payload_setup.exe") + L"\" /instpath=\"" +
                            dir + L"\"");
    };
}

bool IsFinished(const std::atomic<InstallState>& state) {
    return state.load() == InstallState::Finished;
}

// Wine does not enforce a kernel object's DACL, so what is checked is the DACL
// the objects carry.
TEST(ProgressChannelTest, ElevatedObjectsAreForAdministratorsAndSystemOnly) {
    ProgressChannel channel(L"VELORA_TEST_SECURED_MAP", L"VELORA_TEST_SECURED_EVENT",
                            ChannelAccess::kAdministratorsOnly);
    ASSERT_FALSE(channel.IsTaken());
    const auto expected = SecurityFromSddl(kAdministratorsOnlySddl);
    BOOL present = FALSE, defaulted = FALSE;
    PACL wanted = nullptr;
    ASSERT_TRUE(::GetSecurityDescriptorDacl(expected.Get(), &present, &wanted, &defaulted));
    for (HANDLE object : {channel.Mapping(), channel.Event()}) {
        ASSERT_NE(nullptr, object);
        PACL dacl = nullptr;
        ScopedLocalMemory<PSECURITY_DESCRIPTOR> found;
        ASSERT_EQ(ERROR_SUCCESS,
                  ::GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                    nullptr, &dacl, nullptr, found.Receive()));
        EXPECT_TRUE(SameAcl(wanted, dacl));
    }
}

TEST(ProgressChannelTest, ObjectsThatExistedBeforeMakeTheChannelTaken) {
    const struct {
        const wchar_t* mapping;
        const wchar_t* event;
    } firsts[] = {{L"VELORA_TEST_TAKEN_MAP", nullptr}, {nullptr, L"VELORA_TEST_TAKEN_EVENT"}};
    for (const auto& first : firsts) {
        ProgressChannel squatter(first.mapping, first.event, ChannelAccess::kDefault);
        ASSERT_FALSE(squatter.IsTaken());
        ProgressChannel installer(L"VELORA_TEST_TAKEN_MAP", L"VELORA_TEST_TAKEN_EVENT");
        EXPECT_TRUE(installer.IsTaken());
    }
    ProgressChannel alone(L"VELORA_TEST_TAKEN_MAP", L"VELORA_TEST_TAKEN_EVENT");
    EXPECT_FALSE(alone.IsTaken()) << "both gone with their makers";
}

TEST(InstallWorker, ForwardsReportsUpToOneHundredAndFinishes) {
    ScopedEnvironmentVariable pace(L"VELORA_DEMO_PACE_MS", L"400");
    TempFolder dir(L"velora_worker_paced");
    ProgressChannel channel;
    ProgressSink sink;
    std::atomic<InstallState> state{InstallState::Installing};
    int failures = 0;
    InstallWorker worker(sink.Handle(), channel, state, DemoSetup(), [&] { ++failures; });
    ASSERT_TRUE(worker.Start(dir.Path().c_str()));
    ASSERT_TRUE(sink.PumpUntil([&] { return IsFinished(state); }));

    EXPECT_EQ(failures, 0);
    ASSERT_FALSE(sink.Reports().empty());
    EXPECT_EQ(sink.Reports().back(), 100);
    for (size_t i = 1; i < sink.Reports().size(); ++i) {
        EXPECT_LE(sink.Reports()[i - 1], sink.Reports()[i]);
    }
    EXPECT_GT(sink.Reports().size(), 3u) << "a paced run reports along the way";
    EXPECT_TRUE(test::FileExists(dir / L"Program\\Dovanix.exe"));
    EXPECT_FALSE(worker.Start(dir.Path().c_str())) << "one run per worker";
}

TEST(InstallWorker, TheLastReportIsNotLostWhenTheSetupProgramHasAlreadyExited) {
    // The setup program reports 100 and exits before the worker first waits:
    // both its handle and the event are signalled, and the wait names the
    // process first.
    ScopedEnvironmentVariable pace(L"VELORA_DEMO_PACE_MS", L"0");
    TempFolder dir(L"velora_worker_fast");
    ProgressChannel channel;
    ProgressSink sink;
    std::atomic<InstallState> state{InstallState::Installing};
    const InstallWorker::Launcher finishFirst = [](const wchar_t* installDir) {
        SetupLaunch launch = DemoSetup()(installDir);
        ::WaitForSingleObject(launch.process.Get(), 30000);
        return launch;
    };
    InstallWorker worker(sink.Handle(), channel, state, finishFirst, nullptr);
    ASSERT_TRUE(worker.Start(dir.Path().c_str()));
    ASSERT_TRUE(sink.PumpUntil([&] { return IsFinished(state); }));
    EXPECT_EQ(sink.Reports(), std::vector<int>{100});
}

TEST(InstallWorker, WithoutTheProgressEventItWaitsForTheSetupProgramAndFinishes) {
    ScopedEnvironmentVariable idle(L"VELORA_IDLE_MS", L"300");
    ProgressChannel channel(L"VELORA_TEST_MAP_NO_EVENT", nullptr);
    ASSERT_EQ(channel.Event(), nullptr);
    ProgressSink sink;
    std::atomic<InstallState> state{InstallState::Installing};
    InstallWorker worker(
        sink.Handle(), channel, state,
        [](const wchar_t*) {
            return StartProgram(L"\"" + BuiltProgramPath(L"idle_process.exe") + L"\"");
        },
        nullptr);
    ASSERT_TRUE(worker.Start(L"C:\\velora"));
    ::Sleep(150);
    EXPECT_EQ(state.load(), InstallState::Installing) << "still running";
    ASSERT_TRUE(sink.PumpUntil([&] { return IsFinished(state); }, 10000));
    EXPECT_TRUE(sink.Reports().empty());
}

TEST(InstallWorker, AReportWithoutAViewPostsNothing) {
    ScopedEnvironmentVariable idle(L"VELORA_IDLE_MS", L"500");
    ProgressChannel channel(nullptr, L"VELORA_TEST_EVENT_NO_MAP");
    ASSERT_FALSE(channel.HasView());
    ProgressSink sink;
    std::atomic<InstallState> state{InstallState::Installing};
    InstallWorker worker(
        sink.Handle(), channel, state,
        [&](const wchar_t*) {
            ::SetEvent(channel.Event());  // a report arrives with nothing to read
            return StartProgram(L"\"" + BuiltProgramPath(L"idle_process.exe") + L"\"");
        },
        nullptr);
    ASSERT_TRUE(worker.Start(L"C:\\velora"));
    ASSERT_TRUE(sink.PumpUntil([&] { return IsFinished(state); }, 10000));
    EXPECT_TRUE(sink.Reports().empty());
}

TEST(InstallWorker, ASetupProgramThatCannotStartIsReportedAndFinishes) {
    ProgressChannel channel;
    ProgressSink sink;
    std::atomic<InstallState> state{InstallState::Installing};
    int failures = 0;
    int launches = 0;
    InstallWorker worker(
        sink.Handle(), channel, state,
        [&](const wchar_t*) {
            ++launches;
            SetupLaunch none;
            none.error = SetupLaunchError::kPayloadMissing;
            return none;
        },
        [&] { ++failures; });
    ASSERT_TRUE(worker.Start(L"C:\\velora"));
    ASSERT_TRUE(sink.PumpUntil([&] { return IsFinished(state); }));
    EXPECT_EQ(launches, 1);
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(sink.Reports().empty());
}

TEST(InstallWorker, AnEmptyDirectoryIsAResourceErrorWithoutAStartAttempt) {
    ProgressChannel channel;
    ProgressSink sink;
    std::atomic<InstallState> state{InstallState::Installing};
    int failures = 0;
    int launches = 0;
    InstallWorker worker(
        sink.Handle(), channel, state,
        [&](const wchar_t*) {
            ++launches;
            return SetupLaunch{};
        },
        [&] { ++failures; });
    ASSERT_TRUE(worker.Start(L""));
    ASSERT_TRUE(sink.PumpUntil([&] { return IsFinished(state); }));
    EXPECT_EQ(launches, 0);
    EXPECT_EQ(failures, 1);
}

TEST(InstallWorker, GoingAwayMidInstallStopsAtOnceAndLeavesTheSetupRunning) {
    ScopedEnvironmentVariable idle(L"VELORA_IDLE_MS", L"20000");
    ProgressChannel channel;
    ProgressSink sink;
    std::atomic<InstallState> state{InstallState::Installing};
    HANDLE setup = nullptr;
    auto worker = std::make_unique<InstallWorker>(
        sink.Handle(), channel, state,
        [&](const wchar_t*) {
            SetupLaunch launch =
                StartProgram(L"\"" + BuiltProgramPath(L"idle_process.exe") + L"\"");
            ::DuplicateHandle(::GetCurrentProcess(), launch.process.Get(), ::GetCurrentProcess(),
                              &setup, 0, FALSE, DUPLICATE_SAME_ACCESS);
            return launch;
        },
        nullptr);
    ASSERT_TRUE(worker->Start(L"C:\\velora"));
    ::Sleep(300);
    const DWORD before = ::GetTickCount();
    worker.reset();  // stops and joins the thread
    EXPECT_LT(::GetTickCount() - before, 2000u);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(state.load(), InstallState::Installing) << "nothing written after the stop";
    EXPECT_EQ(::WaitForSingleObject(setup, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ::TerminateProcess(setup, 1);
    ::CloseHandle(setup);
}

TEST(InstallWorker, TheSetupProgramsFolderIsGoneWhenTheWorkerIsDone) {
    // The real launcher, with the idle stand-in as the setup program.
    HMODULE carrier = ::LoadLibraryExW(BuiltProgramPath(L"idle_payload_carrier.exe").c_str(),
                                       nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, carrier);
    TempFolder temp(L"velora worker temp");
    ScopedEnvironmentVariable tmp(L"TMP", (temp.Path() + L"\\").c_str());
    ScopedEnvironmentVariable tempVar(L"TEMP", (temp.Path() + L"\\").c_str());
    ScopedEnvironmentVariable idle(L"VELORA_IDLE_MS", L"300");
    std::wstring program;
    {
        ProgressChannel channel;
        ProgressSink sink;
        std::atomic<InstallState> state{InstallState::Installing};
        InstallWorker worker(
            sink.Handle(), channel, state,
            [&](const wchar_t* dir) {
                SetupLaunch launch = ExtractAndRunSetup(dir, carrier);
                program = launch.folder.ProgramPath();
                return launch;
            },
            nullptr);
        ASSERT_TRUE(worker.Start(L"C:\\velora"));
        ASSERT_TRUE(sink.PumpUntil([&] { return IsFinished(state); }));
    }
    ::FreeLibrary(carrier);
    EXPECT_NE(std::wstring::npos, program.find(L"velora_")) << "the real launcher ran";
    EXPECT_FALSE(test::FolderExists(program.substr(0, program.rfind(L'\\'))));
}

}  // namespace
}  // namespace velora
