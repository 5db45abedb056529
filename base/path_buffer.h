#pragma once

#include <cstddef>

namespace velora {

// Every path in the installer lives in a buffer of this many wide characters,
// terminator included.
inline constexpr std::size_t kPathChars = 260;
using PathBuffer = wchar_t[kPathChars];

// All helpers below keep `dst` terminated and never write past `capacity`
// characters. When the result would not fit they leave `dst` unchanged and
// return false, so a caller never goes on with a silently truncated path.

// dst = src.
bool CopyBounded(wchar_t* dst, std::size_t capacity, const wchar_t* src);
// dst += src.
bool AppendBounded(wchar_t* dst, std::size_t capacity, const wchar_t* src);
// Appends '\' unless dst is empty or already ends with one.
bool AppendSeparator(wchar_t* dst, std::size_t capacity);
// dst = dir + ('\' when needed) + tail. An empty dir yields tail alone.
bool JoinPath(wchar_t* dst, std::size_t capacity, const wchar_t* dir, const wchar_t* tail);

template <std::size_t N>
bool CopyBounded(wchar_t (&dst)[N], const wchar_t* src) {
    return CopyBounded(dst, N, src);
}
template <std::size_t N>
bool AppendBounded(wchar_t (&dst)[N], const wchar_t* src) {
    return AppendBounded(dst, N, src);
}
template <std::size_t N>
bool AppendSeparator(wchar_t (&dst)[N]) {
    return AppendSeparator(dst, N);
}
template <std::size_t N>
bool JoinPath(wchar_t (&dst)[N], const wchar_t* dir, const wchar_t* tail) {
    return JoinPath(dst, N, dir, tail);
}

// Length of s, but never looks at more than `capacity` characters.
std::size_t BoundedLength(const wchar_t* s, std::size_t capacity);

}  // namespace velora
