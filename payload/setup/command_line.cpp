#include "payload/setup/command_line.h"

#include <cwctype>

namespace demo_setup {
namespace {

const wchar_t kSwitch[] = L"/instpath=";
constexpr std::size_t kSwitchLength = sizeof(kSwitch) / sizeof(kSwitch[0]) - 1;

const wchar_t* SkipProgramPath(const wchar_t* p) {
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"') {
            ++p;
        }
        if (*p == L'"') {
            ++p;
        }
        return p;
    }
    while (*p != L'\0' && *p != L' ' && *p != L'\t') {
        ++p;
    }
    return p;
}

bool StartsWithSwitch(const wchar_t* p) {
    for (std::size_t i = 0; i < kSwitchLength; ++i) {
        if (p[i] == L'\0' || std::towlower(p[i]) != kSwitch[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool FindInstallPath(const wchar_t* commandLine, wchar_t* out, std::size_t capacity) {
    if (commandLine == nullptr || out == nullptr || capacity == 0) {
        return false;
    }
    out[0] = L'\0';
    const wchar_t* p = SkipProgramPath(commandLine);
    for (; *p != L'\0'; ++p) {
        if (StartsWithSwitch(p)) {
            break;
        }
    }
    if (*p == L'\0') {
        return false;
    }
    p += kSwitchLength;
    const bool quoted = *p == L'"';
    if (quoted) {
        ++p;
    }
    std::size_t n = 0;
    for (; *p != L'\0' && (quoted ? *p != L'"' : true); ++p) {
        if (n + 1 >= capacity) {
            out[0] = L'\0';
            return false;
        }
        out[n++] = *p;
    }
    // Without quotes the directory runs to the end of the line; drop trailing blanks.
    while (!quoted && n > 0 && (out[n - 1] == L' ' || out[n - 1] == L'\t')) {
        --n;
    }
    out[n] = L'\0';
    return n > 0;
}

}  // namespace demo_setup
