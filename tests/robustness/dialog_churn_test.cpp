// Opening and closing every installer dialog many times in one process must
// give back every GDI and USER object and the memory it took.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "app/agree_dlg.h"
#include "app/main_dlg.h"
#include "app/msg_dlg.h"
#include "tests/support/modal_driver.h"
#include "tests/robustness/process_counters.h"
#include "tests/robustness/seed_documents.h"

namespace velora {
namespace {

using test::ProcessCounters;

// VELORA_CHURN_ROUNDS overrides the number of rounds (each round of a
// shadowed window costs a few hundred milliseconds under Wine).
int Rounds() {
    const char* text = std::getenv("VELORA_CHURN_ROUNDS");
    return text != nullptr && *text != '\0' ? std::atoi(text) : 200;
}
constexpr int kWarmUpRounds = 10;
// Heap pages are not always handed back to the system at once; a leak of even
// a few kilobytes per round would pass this.
constexpr std::size_t kPrivateBytesTolerance = 1024 * 1024;
constexpr long kGdiObjectTolerance = 4;
// Counted as free room under Wine, USER objects move by up to about 30 between
// two readings with nothing leaked (seen both up and down); a leak of one
// object per round shows over a full run of 200.
constexpr long kUserObjectTolerance = 40;

void PumpPending() {
    MSG message;
    for (int i = 0; i < 500 && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

class DialogChurn : public ::testing::Test {
  protected:
    void SetUp() override { folder_.LoadTables(); }

    // Runs `round` for warm-up, then Rounds() times between two readings.
    void ExpectNoGrowth(const char* name, const std::function<void()>& round) {
        for (int i = 0; i < kWarmUpRounds; ++i) {
            round();
        }
        const ProcessCounters before = test::ReadProcessCounters();
        const int rounds = Rounds();
        for (int i = 0; i < rounds; ++i) {
            round();
        }
        const ProcessCounters after = test::ReadProcessCounters();
        std::printf(
            "%s x%d: GDI %ld -> %ld, USER %ld -> %ld, windows %ld -> %ld, "
            "private bytes %zu -> %zu\n",
            name, rounds, before.gdiObjects, after.gdiObjects, before.userObjects,
            after.userObjects, before.windows, after.windows, before.privateBytes,
            after.privateBytes);
        EXPECT_LE(after.gdiObjects - before.gdiObjects, kGdiObjectTolerance) << name;
        EXPECT_LE(after.userObjects - before.userObjects, kUserObjectTolerance) << name;
        EXPECT_EQ(after.windows, before.windows) << name;
        EXPECT_LE(after.privateBytes, before.privateBytes + kPrivateBytesTolerance) << name;
    }

    test::SeedFolder folder_;
};

TEST_F(DialogChurn, MessageDialogsGiveEverythingBack) {
    for (UINT layout : {kExitConfirmLayout, kOldSystemLayout, kProductRunningLayout}) {
        const std::string name = "CMsgDlg " + std::to_string(layout);
        ExpectNoGrowth(name.c_str(), [layout] {
            CMsgDlg dialog;
            ASSERT_TRUE(dialog.LoadLayout(layout));
            test::RunFromMessageLoop(
                1, [&dialog] { test::SendClickRecord(dialog.Handle(), CMsgDlg::kButtonOne); });
            EXPECT_EQ(dialog.DoModal(nullptr), 1);
        });
    }
}

TEST_F(DialogChurn, AgreementGivesEverythingBack) {
    CMsgDlg owner;
    ASSERT_NE(owner.Create(nullptr), nullptr);
    ::ShowWindow(owner.Handle(), SW_SHOWNA);
    ExpectNoGrowth("CAgreeDlg", [&owner] {
        CAgreeDlg* agreement = CAgreeDlg::Open(owner);
        ASSERT_NE(agreement, nullptr);
        const HWND window = agreement->Handle();
        PumpPending();
        test::SendClickRecord(window, CAgreeDlg::kClose);
        PumpPending();
        EXPECT_FALSE(::IsWindow(window));
    });
}

TEST_F(DialogChurn, MainWindowGivesEverythingBack) {
    ExpectNoGrowth("CMainDlg", [] {
        auto dialog = std::make_unique<CMainDlg>();
        dialog->SetLowSpaceTest([](const wchar_t*) { return false; });
        ASSERT_NE(dialog->Create(nullptr), nullptr);
        ::ShowWindow(dialog->Handle(), SW_SHOWNA);
        PumpPending();
        dialog->ToggleCustomInstall();
        PumpPending();
        dialog.reset();
        PumpPending();
    });
}

}  // namespace
}  // namespace velora
