#pragma once

#include <string>

namespace velora {

// What the installer's command line asks for.
//   /s           silent install (any position, either case)
//   /log         install log in %TEMP%\Velora_install.log
//   /log=<file>  install log in <file>
//   /D=<dir>     install directory: the last argument, everything after "/D="
//                (spaces included, no quotes); switches after it are part of it
struct CommandLineOptions {
    bool silent = false;
    bool hasInstallDir = false;
    std::wstring installDir;  // as given, when hasInstallDir
    enum class Log { kNone, kUserTemp, kFile } log = Log::kNone;
    std::wstring logFile;  // when log is kFile
};

CommandLineOptions ParseCommandLine(const wchar_t* commandLine);

// True when any argument (the program path included) is exactly "/s" in
// either case. An unsplittable command line has no arguments.
bool HasSilentSwitch(const wchar_t* commandLine);

}  // namespace velora
