#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

namespace velora {

// printf-style formatting into a fixed buffer through the system's C runtime
// (msvcrt.dll), not the C library's own formatter that libstdc++ selects on
// MinGW (which the installer would carry). The text is always terminated.
// Returns its length, or -1 when it did not fit (the buffer then holds what
// did) or nothing can be written. msvcrt's conversions: %ls for wide text in
// either width, no %z, %ll or %a.
int FormatBounded(wchar_t* out, std::size_t capacity, const wchar_t* format, ...);
int FormatBoundedList(wchar_t* out, std::size_t capacity, const wchar_t* format, va_list args);
int FormatBounded(char* out, std::size_t capacity, const char* format, ...)
    __attribute__((format(ms_printf, 3, 4)));

// A whole number in decimal, as std::to_wstring writes it.
std::wstring DecimalText(long long value);

}  // namespace velora
