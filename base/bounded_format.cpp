#include "base/bounded_format.h"

#include <cstdio>
#include <cwchar>

namespace velora {

int FormatBoundedList(wchar_t* out, std::size_t capacity, const wchar_t* format, va_list args) {
    if (out == nullptr || capacity == 0 || format == nullptr) {
        return -1;
    }
    return _vsnwprintf_s(out, capacity, _TRUNCATE, format, args);
}

int FormatBounded(wchar_t* out, std::size_t capacity, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const int length = FormatBoundedList(out, capacity, format, args);
    va_end(args);
    return length;
}

int FormatBounded(char* out, std::size_t capacity, const char* format, ...) {
    if (out == nullptr || capacity == 0 || format == nullptr) {
        return -1;
    }
    va_list args;
    va_start(args, format);
    const int length = _vsnprintf_s(out, capacity, _TRUNCATE, format, args);
    va_end(args);
    return length;
}

std::wstring DecimalText(long long value) {
    // Digits from the last, in unsigned arithmetic so the most negative value works.
    wchar_t digits[24];
    wchar_t* start = digits + sizeof(digits) / sizeof(digits[0]);
    unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    do {
        *--start = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        *--start = L'-';
    }
    return std::wstring(start, digits + sizeof(digits) / sizeof(digits[0]));
}

}  // namespace velora
