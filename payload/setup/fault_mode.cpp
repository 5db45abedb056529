#include "payload/setup/fault_mode.h"

#include <cerrno>
#include <climits>
#include <cwchar>

namespace demo_setup {
namespace {

// The rest of `text` after `prefix`, or null when it does not start with it.
const wchar_t* After(const wchar_t* text, const wchar_t* prefix) {
    const std::size_t n = std::wcslen(prefix);
    return std::wcsncmp(text, prefix, n) == 0 ? text + n : nullptr;
}

// One decimal integer (sign allowed) ending at `*end`; false when there is
// none or it does not fit an int.
bool ReadInt(const wchar_t* text, const wchar_t** end, int& out) {
    wchar_t* stop = nullptr;
    errno = 0;
    const long value = std::wcstol(text, &stop, 10);
    if (stop == text || errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        return false;
    }
    out = static_cast<int>(value);
    *end = stop;
    return true;
}

// A whole text that is exactly one integer.
bool ReadOnlyInt(const wchar_t* text, int& out) {
    const wchar_t* end = nullptr;
    return ReadInt(text, &end, out) && *end == L'\0';
}

bool ReadReportList(const wchar_t* text, FaultMode& out) {
    out.reportCount = 0;
    for (;;) {
        const wchar_t* end = nullptr;
        if (out.reportCount == kMaxFaultReports ||
            !ReadInt(text, &end, out.reports[out.reportCount])) {
            return false;
        }
        ++out.reportCount;
        if (*end == L'\0') {
            return true;
        }
        if (*end != L',') {
            return false;
        }
        text = end + 1;
    }
}

}  // namespace

bool ParseFaultMode(const wchar_t* text, FaultMode& out) {
    out = FaultMode{};
    if (text == nullptr || text[0] == L'\0') {
        return true;
    }
    if (std::wcscmp(text, L"exit-at-once") == 0) {
        out.kind = FaultKind::kExitAtOnce;
        return true;
    }
    if (std::wcscmp(text, L"silent") == 0) {
        out.kind = FaultKind::kSilent;
        return true;
    }
    if (std::wcscmp(text, L"report-100-twice") == 0) {
        out.kind = FaultKind::kReportHundredTwice;
        return true;
    }
    if (const wchar_t* code = After(text, L"exit-code:")) {
        out.kind = FaultKind::kExitCode;
        return ReadOnlyInt(code, out.exitCode);
    }
    if (const wchar_t* at = After(text, L"crash-at:")) {
        out.kind = FaultKind::kCrashAt;
        return ReadOnlyInt(at, out.crashAt) && out.crashAt >= 0 && out.crashAt <= 100;
    }
    if (const wchar_t* list = After(text, L"report:")) {
        out.kind = FaultKind::kReports;
        return ReadReportList(list, out);
    }
    return false;
}

}  // namespace demo_setup
