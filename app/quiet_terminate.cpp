// libstdc++'s default terminate handler prints the type of an uncaught exception,
// demangled, to standard error, which a GUI program has not got; it alone links
// the C++ demangler (about 50 KB) into the executable. This one ends the program
// the same way (abort), without the message nobody could read.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
