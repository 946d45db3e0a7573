// Prints the ANSI code page Wine gives the process (it follows LANG) and fails when
// it is not the one TALLYRA_CODE_PAGE names: the unit tests of that run would then
// not have run under the code page they were meant for.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
    const unsigned actual = GetACP();
    std::printf("ANSI code page %u\n", actual);
    const char* expected = std::getenv("TALLYRA_CODE_PAGE");
    if (expected && std::strtoul(expected, nullptr, 10) != actual) {
        std::printf("expected code page %s: is the locale of LANG=%s generated?\n", expected,
                    std::getenv("LANG") ? std::getenv("LANG") : "");
        return 1;
    }
    return 0;
}
