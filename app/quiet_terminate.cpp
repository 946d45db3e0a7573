// libstdc++'s default terminate handler prints the type of an uncaught exception,
// demangled, to standard error, which a GUI program has not got; it alone links
// the C++ demangler (about 50 KB) into the executable. This one ends the program
// the same way (abort), without the message nobody could read.
//
// The same goes for the library's own throws (a string or vector asked to grow past
// its largest size, a bad index, an empty std::function called): the program catches
// none of them, so each ended in that handler's abort. They abort at once here, which
// leaves out the exception classes, their messages and the strings that hold them
// (about 84 KB).
//
// Nor does an allocation that fails throw: nothing catches std::bad_alloc (the
// picture decoder asks with std::nothrow), so operator new ends the program at once
// too. With the library's throwing operator new and its guarded local statics gone
// (the program is built without thread-safe statics), nothing throws at all, and
// the unwinder and the exception runtime (about 40 KB) stay out.
#include <cstdlib>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_bad_function_call() {
    std::abort();
}
void __throw_length_error(const char*) {
    std::abort();
}
void __throw_logic_error(const char*) {
    std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
} // namespace std

namespace {
void* allocateOrEnd(std::size_t size) {
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    std::abort();
}
} // namespace

void* operator new(std::size_t size) {
    return allocateOrEnd(size);
}
void* operator new[](std::size_t size) {
    return allocateOrEnd(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
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
