#pragma once

#include <cstddef>

namespace demo_setup {

// Ways the demo setup program can misbehave on purpose, so the installer's
// handling of a faulty setup program can be tested. Chosen by the text of
// VELORA_DEMO_FAULT (see main.cpp for what each one does).
enum class FaultKind {
    kNone,                // ""
    kExitAtOnce,          // "exit-at-once"
    kExitCode,            // "exit-code:N"
    kCrashAt,             // "crash-at:P"
    kSilent,              // "silent"
    kReports,             // "report:A,B,..."
    kReportHundredTwice,  // "report-100-twice"
};

inline constexpr std::size_t kMaxFaultReports = 8;

struct FaultMode {
    FaultKind kind = FaultKind::kNone;
    int exitCode = 0;                    // kExitCode
    int crashAt = 0;                     // kCrashAt: the percentage reported last before the crash
    int reports[kMaxFaultReports] = {};  // kReports, in order
    std::size_t reportCount = 0;
};

// Reads the fault text. Null or empty is kNone. False for anything it does
// not know, so that a mistyped mode is noticed instead of ignored.
bool ParseFaultMode(const wchar_t* text, FaultMode& out);

}  // namespace demo_setup
