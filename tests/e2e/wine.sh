# Shell helpers of the end-to-end tests, sourced by scripts/test-e2e and
# tests/e2e/screenshots.sh (with the repository root as working directory):
#   e2e_build                builds Tallyra.exe (scripts/build-windows) and the driver
#   e2e_prefix DPI           makes the Wine prefix of that DPI once (build/e2e/prefix-DPI,
#                            by scripts/lib/wine-prefix)
#   e2e_session DPI LANG CMD runs CMD in one Xvfb session with that prefix and locale
# Every Wine command of a test runs inside the one Xvfb session: a wineserver
# started outside it would make the program's windows invisible to the driver.

E2E_ROOT=$PWD/build/e2e
E2E_DRIVER_BUILD=$E2E_ROOT/driver
E2E_SCREEN="-screen 0 1280x1024x24"

e2e_log() { echo "test-e2e: $*" >&2; }

# Sets TALLYRA_EXE, E2E_DRIVER and E2E_EMPTY.
e2e_build() {
    local jobs
    jobs=$(nproc)
    mkdir -p "$E2E_ROOT"
    if ! scripts/build-windows >"$E2E_ROOT/build-windows.log" 2>&1; then
        # A unit test that does not build must not keep the program from its
        # end-to-end tests: build the program alone in the configured tree.
        e2e_log "scripts/build-windows failed (build/e2e/build-windows.log); building Tallyra.exe alone"
        cmake --build build/windows --target Tallyra -j "$jobs" >>"$E2E_ROOT/build-windows.log" 2>&1 || {
            tail -n 30 "$E2E_ROOT/build-windows.log" >&2
            return 1
        }
    fi
    if [ ! -f build/windows/app/Tallyra.exe ]; then
        e2e_log "no build/windows/app/Tallyra.exe after the build"
        return 1
    fi
    # The tests run a copy, so that another build relinking the program meanwhile
    # cannot hand them a half-written file.
    cp build/windows/app/Tallyra.exe "$E2E_ROOT/Tallyra.exe"
    TALLYRA_EXE=$E2E_ROOT/Tallyra.exe
    cmake -S tests/e2e -B "$E2E_DRIVER_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake" -DTALLYRA_MINGW_THREADS=posix >/dev/null
    cmake --build "$E2E_DRIVER_BUILD" -j "$jobs" >/dev/null
    E2E_DRIVER=$E2E_DRIVER_BUILD/tallyra_e2e.exe
    E2E_EMPTY=$E2E_DRIVER_BUILD/empty_window.exe
}

e2e_prefix() {
    local dpi=$1
    local prefix=$E2E_ROOT/prefix-$dpi
    mkdir -p "$E2E_ROOT"
    flock "$prefix.lock" xvfb-run -a -s "$E2E_SCREEN" \
        scripts/lib/wine-prefix "$prefix" --dpi "$dpi" --fonts --unattended
}

e2e_session() {
    local dpi=$1 lang=$2
    shift 2
    # One session at a time per prefix; each has a display of its own (-a).
    WINEPREFIX=$E2E_ROOT/prefix-$dpi WINEDEBUG=-all LANG=$lang LC_ALL=$lang \
        flock "$E2E_ROOT/prefix-$dpi.lock" xvfb-run -a -s "$E2E_SCREEN" bash -c '"$@"; rc=$?; wineserver -k 2>/dev/null; exit $rc' e2e "$@"
}
