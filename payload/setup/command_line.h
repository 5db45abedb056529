#pragma once

#include <cstddef>

namespace demo_setup {

// Finds `/instpath="DIR"` (or `/instpath=DIR` up to the end of the line) in a
// raw command line, after the program path. Parsed by hand rather than with
// CommandLineToArgvW, which reads a trailing `\"` as an escaped quote.
// False when the switch is absent or the directory is empty or too long.
bool FindInstallPath(const wchar_t* commandLine, wchar_t* out, std::size_t capacity);

}  // namespace demo_setup
