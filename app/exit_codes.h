#pragma once

namespace velora {

// Process exit codes of the installer. On the silent path a setup program that
// ran and failed passes its own non-zero code through; these mark the cases
// where it never got to run. The interactive path ends with 0 after a
// finished install or when the user quits, and with these codes (or the setup
// program's own) when the install failed.
enum ExitCode : int {
    kExitOk = 0,
    kExitAlreadyRunning = 1001,        // another installer holds the instance mutex (silent only)
    kExitNoInstallDir = 1002,          // no install directory could be determined
    kExitPayloadUnavailable = 1003,    // setup program missing, or not written to the temp folder
    kExitSetupNotStarted = 1004,       // the setup program could not be started
    kExitSetupLost = 1005,             // its end or its exit code could not be observed
    kExitProgressChannelTaken = 1006,  // another program made the progress objects first
    kExitSetupUnfinished = 1007,    // interactive: the setup program ended without reaching 100 %
    kExitInvalidInstallDir = 1008,  // the /D= directory is not an acceptable install directory
};

}  // namespace velora
