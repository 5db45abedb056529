#include "payload/setup/fault_mode.h"

#include <gtest/gtest.h>

namespace demo_setup {
namespace {

FaultMode Parsed(const wchar_t* text) {
    FaultMode mode;
    EXPECT_TRUE(ParseFaultMode(text, mode)) << "refused: " << (text ? "text" : "null");
    return mode;
}

bool Refused(const wchar_t* text) {
    FaultMode mode;
    return !ParseFaultMode(text, mode);
}

TEST(DemoSetupFaultModeTest, ReadsEachMode) {
    EXPECT_EQ(Parsed(nullptr).kind, FaultKind::kNone);
    EXPECT_EQ(Parsed(L"").kind, FaultKind::kNone);
    EXPECT_EQ(Parsed(L"exit-at-once").kind, FaultKind::kExitAtOnce);
    EXPECT_EQ(Parsed(L"silent").kind, FaultKind::kSilent);
    EXPECT_EQ(Parsed(L"report-100-twice").kind, FaultKind::kReportHundredTwice);

    const FaultMode exit = Parsed(L"exit-code:-7");
    EXPECT_EQ(exit.kind, FaultKind::kExitCode);
    EXPECT_EQ(exit.exitCode, -7);
    const FaultMode crash = Parsed(L"crash-at:60");
    EXPECT_EQ(crash.kind, FaultKind::kCrashAt);
    EXPECT_EQ(crash.crashAt, 60);

    const FaultMode reports = Parsed(L"report:-5,150,100");
    ASSERT_EQ(reports.kind, FaultKind::kReports);
    ASSERT_EQ(reports.reportCount, 3u);
    EXPECT_EQ(reports.reports[0], -5);
    EXPECT_EQ(reports.reports[1], 150);
    EXPECT_EQ(reports.reports[2], 100);
}

TEST(DemoSetupFaultModeTest, RefusesWhatItDoesNotKnowInsteadOfRunningNormally) {
    EXPECT_TRUE(Refused(L"crash"));
    EXPECT_TRUE(Refused(L"Silent"));
    EXPECT_TRUE(Refused(L"exit-code:"));
    EXPECT_TRUE(Refused(L"exit-code:3x"));
    EXPECT_TRUE(Refused(L"exit-code:99999999999"));
    EXPECT_TRUE(Refused(L"crash-at:101"));
    EXPECT_TRUE(Refused(L"crash-at:-1"));
    EXPECT_TRUE(Refused(L"report:"));
    EXPECT_TRUE(Refused(L"report:1,,2"));
    EXPECT_TRUE(Refused(L"report:1,2,"));
    EXPECT_TRUE(Refused(L"report:1,2,3,4,5,6,7,8,9")) << "more reports than it keeps";
    EXPECT_FALSE(Refused(L"report:1,2,3,4,5,6,7,8"));
}

}  // namespace
}  // namespace demo_setup
