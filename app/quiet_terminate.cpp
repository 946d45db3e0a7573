// libstdc++'s default terminate handler prints the type of an uncaught exception,
// demangled, to standard error, which a GUI program has not got; it alone links
// the C++ demangler (about 50 KB) into the executable. This one ends the program
// the same way (abort), without the message nobody could read.
//
// The same goes for the library's own throws (a string or vector asked to grow past
// its largest size, a bad index, an empty std::function called): the program catches
// none of them, so each ended in that handler's abort. They abort at once here, which
// leaves out the exception classes, their messages and the strings that hold them
// (about 84 KB). An allocation that fails is not among them: operator new throws
// std::bad_alloc itself, and the picture decoder still catches it.
#include <cstdlib>

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
