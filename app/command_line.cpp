#include "app/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include <cwchar>

#include "base/win_handles.h"

namespace velora {
namespace {

constexpr wchar_t kLogSwitch[] = L"/log";
constexpr wchar_t kLogFilePrefix[] = L"/log=";
constexpr std::size_t kLogFilePrefixChars = 5;

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// Where the text of the program path ends, the way the system splits it:
// up to the closing quote when it starts with one, else up to a blank.
const wchar_t* SkipProgramPath(const wchar_t* p) {
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"') {
            ++p;
        }
        return *p == L'"' ? p + 1 : p;
    }
    while (*p != L'\0' && !IsBlank(*p)) {
        ++p;
    }
    return p;
}

bool IsInstallDirSwitch(const wchar_t* p) {
    return p[0] == L'/' && (p[1] == L'D' || p[1] == L'd') && p[2] == L'=';
}

// The first "/D=" (either case) that starts an argument outside quotes after
// the program path, or a quote right before it (shells that quote arguments
// with spaces make "/D=C:\My Apps"); null when there is none.
const wchar_t* FindInstallDirSwitch(const wchar_t* commandLine) {
    bool quoted = false;
    for (const wchar_t* p = SkipProgramPath(commandLine); *p != L'\0'; ++p) {
        const bool argumentStart = !quoted && p > commandLine && IsBlank(p[-1]);
        if (argumentStart && (IsInstallDirSwitch(p) || (*p == L'"' && IsInstallDirSwitch(p + 1)))) {
            return p;
        }
        if (*p == L'"') {
            quoted = !quoted;
        }
    }
    return nullptr;
}

void ReadLogSwitches(const std::wstring& switches, CommandLineOptions& options) {
    int argc = 0;
    ScopedLocalMemory<LPWSTR*> argv(::CommandLineToArgvW(switches.c_str(), &argc));
    if (!argv) {
        return;
    }
    // Index 0 is the program path.
    for (int i = 1; i < argc; ++i) {
        const wchar_t* argument = argv.Get()[i];
        if (_wcsicmp(argument, kLogSwitch) == 0) {
            options.log = CommandLineOptions::Log::kUserTemp;
        } else if (_wcsnicmp(argument, kLogFilePrefix, kLogFilePrefixChars) == 0) {
            options.log = CommandLineOptions::Log::kFile;
            options.logFile = argument + kLogFilePrefixChars;
        }
    }
}

}  // namespace

bool HasSilentSwitch(const wchar_t* commandLine) {
    if (commandLine == nullptr || commandLine[0] == L'\0') {
        return false;
    }
    int argc = 0;
    ScopedLocalMemory<LPWSTR*> argv(::CommandLineToArgvW(commandLine, &argc));
    if (!argv) {
        return false;
    }
    for (int i = 0; i < argc; ++i) {
        if (_wcsicmp(argv.Get()[i], L"/s") == 0) {
            return true;
        }
    }
    return false;
}

CommandLineOptions ParseCommandLine(const wchar_t* commandLine) {
    CommandLineOptions options;
    if (commandLine == nullptr || commandLine[0] == L'\0') {
        return options;
    }
    std::wstring switches = commandLine;
    if (const wchar_t* dirSwitch = FindInstallDirSwitch(commandLine)) {
        const bool quoted = dirSwitch[0] == L'"';
        options.hasInstallDir = true;
        options.installDir = dirSwitch + (quoted ? 4 : 3);
        // Blanks a script leaves at the end are no part of a folder name.
        std::wstring& dir = options.installDir;
        while (!dir.empty() && IsBlank(dir.back())) {
            dir.pop_back();
        }
        if (quoted && !dir.empty() && dir.back() == L'"') {
            dir.pop_back();
        }
        switches.resize(static_cast<std::size_t>(dirSwitch - commandLine));
    }
    options.silent = HasSilentSwitch(switches.c_str());
    ReadLogSwitches(switches, options);
    return options;
}

}  // namespace velora
