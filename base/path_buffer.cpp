#include "base/path_buffer.h"

#include <cwchar>

namespace velora {

std::size_t BoundedLength(const wchar_t* s, std::size_t capacity) {
    if (s == nullptr) {
        return 0;
    }
    std::size_t n = 0;
    while (n < capacity && s[n] != L'\0') {
        ++n;
    }
    return n;
}

bool CopyBounded(wchar_t* dst, std::size_t capacity, const wchar_t* src) {
    if (dst == nullptr || capacity == 0) {
        return false;
    }
    const std::size_t len = BoundedLength(src, capacity);
    if (len >= capacity) {
        return false;
    }
    std::wmemmove(dst, src == nullptr ? L"" : src, len);
    dst[len] = L'\0';
    return true;
}

bool AppendBounded(wchar_t* dst, std::size_t capacity, const wchar_t* src) {
    if (dst == nullptr || capacity == 0) {
        return false;
    }
    const std::size_t used = BoundedLength(dst, capacity);
    if (used >= capacity) {
        return false;  // dst itself is not terminated within its buffer
    }
    return CopyBounded(dst + used, capacity - used, src);
}

bool AppendSeparator(wchar_t* dst, std::size_t capacity) {
    if (dst == nullptr || capacity == 0) {
        return false;
    }
    const std::size_t used = BoundedLength(dst, capacity);
    if (used == 0 || dst[used - 1] == L'\\') {
        return used < capacity;
    }
    return AppendBounded(dst, capacity, L"\\");
}

bool JoinPath(wchar_t* dst, std::size_t capacity, const wchar_t* dir, const wchar_t* tail) {
    if (dst == nullptr || capacity == 0) {
        return false;
    }
    // Build in a scratch copy so that a failed join leaves dst as it was, and so
    // that dir may alias dst.
    wchar_t scratch[1024];
    if (capacity > sizeof(scratch) / sizeof(scratch[0])) {
        capacity = sizeof(scratch) / sizeof(scratch[0]);
    }
    if (!CopyBounded(scratch, capacity, dir) || !AppendSeparator(scratch, capacity) ||
        !AppendBounded(scratch, capacity, tail)) {
        return false;
    }
    return CopyBounded(dst, capacity, scratch);
}

}  // namespace velora
