// Damaged markup must never crash, hang or leak: every built-in layout and
// table is mutated thousands of times (seeded, so any case can be replayed),
// loaded through the override folder into the pools, a control tree and a
// host window, laid out at several sizes, hovered and painted into a DIB.
//
//   VELORA_MUTATION_COUNT  cases to run (default 600, under a minute)
//   VELORA_MUTATION_SEED   first seed (default 11)
//   VELORA_MUTATION_FIRST  index of the first case (default 0), to replay one
//   VELORA_MUTATION_VERBOSE=1  names each case on stderr before it runs
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "controls/control_factory.h"
#include "markup/font_pool.h"
#include "tests/robustness/process_counters.h"
#include "tests/robustness/seed_documents.h"
#include "tests/robustness/xml_mutator.h"
#include "tests/support/test_canvas.h"
#include "ui/host_window.h"

namespace velora {
namespace {

using test::SeedDocument;
using test::SeedDocuments;
using test::SeedFolder;

unsigned long EnvironmentNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoul(text, nullptr, 10) : fallback;
}

// What is being tried now, for the report when the process dies or hangs.
struct CurrentCase {
    std::atomic<unsigned long> index{0};
    std::atomic<DWORD> startedAt{0};
    std::atomic<bool> running{false};
    unsigned long seed = 0;
    char description[256] = {};
};
CurrentCase g_case;

void PrintCurrentCase(const char* what) {
    std::fprintf(stderr,
                 "\n*** %s in mutated document: VELORA_MUTATION_SEED=%lu VELORA_MUTATION_FIRST=%lu "
                 "VELORA_MUTATION_COUNT=1 (%s)\n",
                 what, g_case.seed, g_case.index.load(), g_case.description);
    std::fflush(stderr);
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    char what[64];
    std::snprintf(what, sizeof(what), "exception 0x%08lX",
                  static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
    PrintCurrentCase(what);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Ends that would otherwise leave no report: abort (heap exhaustion ends in
// std::terminate and abort), and an exit while a case runs.
extern "C" void ReportAbort(int) {
    PrintCurrentCase("abort");
    std::_Exit(4);
}

void ReportExitDuringCase() {
    if (g_case.running) {
        PrintCurrentCase("exit during a case");
    }
}

// Ends the process with a report when one case runs longer than the limit.
class HangWatchdog {
  public:
    explicit HangWatchdog(DWORD limitMs) : limitMs_(limitMs) {
        stop_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        thread_.reset(::CreateThread(nullptr, 0, &HangWatchdog::Run, this, 0, nullptr));
    }
    ~HangWatchdog() {
        ::SetEvent(stop_.get());
        ::WaitForSingleObject(thread_.get(), INFINITE);
    }
    HangWatchdog(const HangWatchdog&) = delete;
    HangWatchdog& operator=(const HangWatchdog&) = delete;

  private:
    struct CloseHandleDeleter {
        void operator()(HANDLE handle) const { ::CloseHandle(handle); }
    };
    using Handle = std::unique_ptr<void, CloseHandleDeleter>;

    static DWORD WINAPI Run(void* self) {
        auto* watchdog = static_cast<HangWatchdog*>(self);
        while (::WaitForSingleObject(watchdog->stop_.get(), 500) == WAIT_TIMEOUT) {
            if (g_case.running && ::GetTickCount() - g_case.startedAt > watchdog->limitMs_) {
                PrintCurrentCase("hang");
                ::TerminateProcess(::GetCurrentProcess(), 3);
            }
        }
        return 0;
    }

    DWORD limitMs_;
    Handle stop_;
    Handle thread_;
};

void PumpPending() {
    MSG message;
    for (int i = 0; i < 200 && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Creates a host for `layoutId`, resizes, hovers and paints it. Rejection
// (no window) is an acceptable outcome for a damaged layout.
void ExerciseLayout(UINT layoutId, unsigned long variant) {
    CBkDialogViewImplEx host(layoutId, &CBkStandardTier::Instance(),
                             std::make_unique<CBkControlCreator>());
    HWND window = host.Create(nullptr);
    if (window == nullptr) {
        return;
    }
    const SIZE sizes[] = {{0, 0}, {1, 1}, {37, 5}, {420, 300}, {900, 700}};
    const SIZE size = sizes[variant % std::size(sizes)];
    if (variant % 3 == 0) {
        ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
    RECT client = {};
    ::GetClientRect(window, &client);
    const int width = std::clamp<int>(client.right, 1, 1024);
    const int height = std::clamp<int>(client.bottom, 1, 768);
    test::Canvas canvas(width, height, RGB(255, 0, 255));
    host.InvalidateAll();
    ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    for (int step = 0; step < 6; ++step) {
        const int x = (width * step) / 5;
        const int y = (height * ((step * 3 + static_cast<int>(variant)) % 6)) / 5;
        ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }
    ::SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    PumpPending();
}

class MutatedMarkup : public ::testing::Test {
  protected:
    void SetUp() override {
        previousFilter_ = ::SetUnhandledExceptionFilter(ReportCrash);
        // A stack overflow leaves the report no stack to run on unless some
        // is kept back for it.
        ULONG reserve = 64 * 1024;
        ::SetThreadStackGuarantee(&reserve);
        std::signal(SIGABRT, ReportAbort);
        std::atexit(ReportExitDuringCase);
    }
    void TearDown() override { ::SetUnhandledExceptionFilter(previousFilter_); }

    LPTOP_LEVEL_EXCEPTION_FILTER previousFilter_ = nullptr;
};

TEST_F(MutatedMarkup, NeverCrashHangOrLeakGdiObjects) {
    const std::vector<SeedDocument>& seeds = SeedDocuments();
    for (const SeedDocument& seed : seeds) {
        ASSERT_FALSE(seed.text.empty()) << "built-in document " << seed.id << " not linked";
    }
    const unsigned long count = EnvironmentNumber("VELORA_MUTATION_COUNT", 600);
    const unsigned long first = EnvironmentNumber("VELORA_MUTATION_FIRST", 0);
    g_case.seed = EnvironmentNumber("VELORA_MUTATION_SEED", 11);
    const bool verbose = EnvironmentNumber("VELORA_MUTATION_VERBOSE", 0) != 0;

    SeedFolder folder;
    folder.LoadTables();
    // Warm up with every pristine layout, so pools and caches hold what they keep.
    for (const SeedDocument& seed : seeds) {
        if (seed.isLayout) {
            ExerciseLayout(seed.id, 3);
        }
    }
    const long gdiBefore = test::LiveGdiObjectCount();
    const std::size_t fontsBefore = BkFontPool::Instance().Count();
    const long windowsBefore = test::ProcessWindowCount();

    HangWatchdog watchdog(20000);
    const DWORD started = ::GetTickCount();
    for (unsigned long index = first; index < first + count; ++index) {
        const SeedDocument& target = seeds[index % seeds.size()];
        test::XmlMutator mutator(static_cast<std::uint32_t>(g_case.seed * 1000003ul + index));
        std::string applied;
        const std::string mutated = mutator.Mutate(target.text, &applied);
        std::snprintf(g_case.description, sizeof(g_case.description), "document %u: %s", target.id,
                      applied.c_str());
        if (verbose) {
            std::fprintf(stderr, "case %lu: %s (%zu bytes)\n", index, g_case.description,
                         mutated.size());
        }
        g_case.index = index;
        g_case.startedAt = ::GetTickCount();
        g_case.running = true;

        folder.Replace(target.id, mutated);
        if (!target.isLayout) {
            folder.LoadTables();
        }
        const UINT layoutId = target.isLayout ? target.id : seeds[(index / seeds.size()) % 5].id;
        ExerciseLayout(layoutId, index);
        folder.Restore(target.id);
        if (!target.isLayout) {
            folder.LoadTables();
        }
        g_case.running = false;
    }
    const DWORD elapsed = ::GetTickCount() - started;

    folder.LoadTables();
    const long gdiAfter = test::LiveGdiObjectCount();
    const long fontsKept = static_cast<long>(BkFontPool::Instance().Count() - fontsBefore);
    const long windowsAfter = test::ProcessWindowCount();
    std::printf("mutated documents tried: %lu (seed %lu, first %lu) in %lu ms\n", count,
                g_case.seed, first, static_cast<unsigned long>(elapsed));
    std::printf(
        "GDI objects before %ld, after %ld (%ld fonts of new codes cached); windows "
        "before %ld, after %ld\n",
        gdiBefore, gdiAfter, fontsKept, windowsBefore, windowsAfter);
    // Fonts of codes the damaged documents named stay in the font pool, which
    // holds at most one per effective code; anything else is a leak.
    EXPECT_LE(gdiAfter - gdiBefore, fontsKept + 4)
        << "GDI objects left behind by damaged documents";
    EXPECT_EQ(windowsBefore, windowsAfter) << "windows left behind by damaged documents";
}

}  // namespace
}  // namespace velora
