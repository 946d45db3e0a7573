// Prints the ANSI code page Wine gives the process, so that scripts/test-windows can
// show (and check) under which code page each run of the unit tests happened.
#include <windows.h>

#include <cstdio>

int main() {
    std::printf("%u\n", GetACP());
    return 0;
}
