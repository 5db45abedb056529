// The installer's own definitions of the few runtime functions through which
// the C++ library would throw. Shipped code is built without exceptions, so
// every throw already ended in std::terminate and an abort; defining them
// here keeps the library's exception classes, their strings and the unwinder
// (with the thread library it locks with) out of the installer. Tests link
// the library's.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void Fail() {
    std::abort();
}

void* Allocate(std::size_t size) {
    void* memory = std::malloc(size != 0 ? size : 1);
    if (memory == nullptr) {
        Fail();  // what an uncaught std::bad_alloc came to
    }
    return memory;
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace std {

void __throw_bad_alloc() {
    Fail();
}
void __throw_bad_array_new_length() {
    Fail();
}
void __throw_bad_function_call() {
    Fail();
}
void __throw_invalid_argument(const char*) {
    Fail();
}
void __throw_length_error(const char*) {
    Fail();
}
void __throw_logic_error(const char*) {
    Fail();
}
void __throw_out_of_range(const char*) {
    Fail();
}
void __throw_out_of_range_fmt(const char*, ...) {
    Fail();
}

}  // namespace std
