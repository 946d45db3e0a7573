#!/usr/bin/env bash
# Checks what Windows executables import, so that they start on a plain Windows 7:
#   - every DLL they import is one of Windows' own (nothing that ships with a
#     compiler or a library: libgcc, libstdc++, winpthread, zlib1, the UCRT...);
#   - every function they import is in tests/wine/win7-functions.txt, the functions
#     known to exist on Windows 7 (a function Windows 7 lacks would stop the
#     program from starting: "The procedure entry point ... could not be located").
#   - with --shipped (the program itself): every DLL it imports is a Known DLL,
#     which Windows always loads from its system folder, or the side-by-side
#     common controls (a DLL planted beside the program is never taken for them:
#     these are resolved before the program can restrict the DLL search), and the
#     executable is built with ASLR (DYNAMIC_BASE) and DEP (NX_COMPAT).
# Usage: tests/wine/check-imports.sh [--list] [--shipped] EXE...   (--list prints every import)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
known=$here/win7-functions.txt
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

list=0
shipped=0
while [ $# -gt 0 ]; do
    case "$1" in
        --list) list=1 ;;
        --shipped) shipped=1 ;;
        *) break ;;
    esac
    shift
done
[ $# -gt 0 ] || { echo "usage: $0 [--list] [--shipped] EXE..." >&2; exit 2; }

# DLLs that are part of every Windows from 7 on.
system_dlls=" advapi32.dll comctl32.dll comdlg32.dll crypt32.dll dbghelp.dll dwmapi.dll gdi32.dll gdiplus.dll
 imm32.dll kernel32.dll msimg32.dll msvcrt.dll ntdll.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll secur32.dll
 setupapi.dll shell32.dll shlwapi.dll user32.dll userenv.dll usp10.dll uxtheme.dll version.dll winmm.dll
 winspool.drv ws2_32.dll "

# The Known DLLs of every Windows from 7 on (the KnownDLLs registry key; ntdll is
# always the system's), and comctl32, which the manifest binds side by side.
known_dlls=" advapi32.dll clbcatq.dll comdlg32.dll difxapi.dll gdi32.dll imagehlp.dll imm32.dll kernel32.dll
 msctf.dll msvcrt.dll normaliz.dll nsi.dll ntdll.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll sechost.dll
 setupapi.dll shell32.dll shlwapi.dll user32.dll wldap32.dll ws2_32.dll comctl32.dll "

# "dll function" for every import of one executable; ordinals as "dll #n".
imports_of() {
    "$objdump" -p "$1" | awk '
        /^The Import Tables/ { inside = 1; next }
        inside && /^(The |PE File Base Relocations)/ { inside = 0 }
        !inside { next }
        /^\tDLL Name: / { dll = tolower($3); next }
        /^$/ { dll = "" ; next }
        dll != "" && /^\t[0-9a-f]+\t/ {
            if ($3 == "<none>") print dll, "#" $2; else print dll, $3
        }'
}

# "dll function" for every known function.
known_functions() {
    awk '
        /^[[:space:]]*(#|$)/ { next }
        /^\[.*\]$/ { dll = tolower(substr($0, 2, length($0) - 2)); next }
        { print dll, $1 }' "$known"
}

# Functions newer than Windows 7 that toolchains and libraries are known to pull in;
# the list of known functions must never name them.
newer_than_win7="GetSystemTimePreciseAsFileTime CreateFile2 GetCurrentPackageId SetProcessDpiAwareness
 GetDpiForMonitor GetDpiForWindow GetDpiForSystem SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext
 EnableNonClientDpiScaling AdjustWindowRectExForDpi GetSystemMetricsForDpi SetThreadDescription
 GetThreadDescription WaitOnAddress WakeByAddressSingle WakeByAddressAll"

# One blank between names, also where a list breaks its line, so that " name " finds each.
system_dlls=" $(echo $system_dlls) "
known_dlls=" $(echo $known_dlls) "

failures=0
known_sorted=$(mktemp)
trap 'rm -f "$known_sorted"' EXIT
known_functions | sort -u >"$known_sorted"
for function in $newer_than_win7; do
    if cut -d' ' -f2 "$known_sorted" | grep -x "$function" >/dev/null; then
        echo "FAIL $known lists $function, which Windows 7 does not have"
        exit 1
    fi
done

for exe in "$@"; do
    [ -f "$exe" ] || { echo "FAIL $exe: no such file"; failures=$((failures + 1)); continue; }
    imports=$(imports_of "$exe" | sort -u)
    if [ -z "$imports" ]; then
        echo "FAIL $exe: no import table found"
        failures=$((failures + 1))
        continue
    fi
    name=$(basename "$exe")
    problems=0
    for dll in $(printf '%s\n' "$imports" | cut -d' ' -f1 | sort -u); do
        case "$system_dlls" in
            *" $dll "*) ;;
            *) echo "FAIL $name imports $dll, which is not part of Windows"; problems=$((problems + 1)) ;;
        esac
        if [ $shipped -eq 1 ]; then
            case "$known_dlls" in
                *" $dll "*) ;;
                *) echo "FAIL $name imports $dll, which is not a Known DLL: a copy beside the program would be loaded"
                   problems=$((problems + 1)) ;;
            esac
        fi
    done
    if [ $shipped -eq 1 ]; then
        header=$("$objdump" -p "$exe")
        for flag in DYNAMIC_BASE NX_COMPAT; do
            if ! grep -E "^[[:space:]]+$flag\b" <<<"$header" >/dev/null; then
                echo "FAIL $name is built without $flag"
                problems=$((problems + 1))
            fi
        done
    fi
    while read -r line; do
        echo "FAIL $name imports $line, not known to exist on Windows 7 (tests/wine/win7-functions.txt)"
        problems=$((problems + 1))
    done < <(printf '%s\n' "$imports" | comm -23 - "$known_sorted")
    summary=$(printf '%s\n' "$imports" | cut -d' ' -f1 | uniq -c | awk '{printf "%s%s (%d)", sep, $2, $1; sep=", "}')
    if [ $problems -eq 0 ]; then
        echo "ok   $name: $summary"
    else
        failures=$((failures + problems))
    fi
    [ $list -eq 1 ] && printf '%s\n' "$imports" | sed 's/^/     /'
done
[ $failures -eq 0 ]
