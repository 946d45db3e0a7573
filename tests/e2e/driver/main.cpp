// The end-to-end driver of Tallyra.exe under Wine.
//   tallyra_e2e run --exe PATH --empty PATH --work DIR [--dpi N] [--only a,b]
//   tallyra_e2e startup --exe PATH --empty PATH --work DIR [--runs N] [--float-button]
//   tallyra_e2e idle --exe PATH --work DIR [--minutes N] [--float-button]
//   tallyra_e2e objects --exe PATH --work DIR [--empty PATH] [--ticks N] [--post-ticks] [--timer-id N]
//   tallyra_e2e soak --exe PATH --work DIR [--minutes N]
//   tallyra_e2e cpu --exe PATH --work DIR [--seconds N] [--runs N] [--multi-draw]   (window against full screen;
//                   the main window, or the window of several at once with 10 slots)
//   tallyra_e2e shots --exe PATH --work DIR --out DIR
// Paths may be Unix paths (/a/b is Z:\a\b). "run" ends with the line "N passed, M failed"
// and exits with the number of failed cases.
#include "measure.h"
#include "runner.h"
#include "text.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

std::filesystem::path hostPath(const std::wstring& path) {
    if (!path.empty() && path[0] == L'/') {
        std::wstring windows = L"Z:" + path;
        for (wchar_t& c : windows)
            if (c == L'/') c = L'\\';
        return windows;
    }
    return path;
}

int usage() {
    std::fputs("usage: tallyra_e2e run|startup|idle|objects|soak|cpu|shots --exe PATH [--empty PATH] --work DIR\n"
               "       [--dpi N] [--only a,b] [--runs N] [--ticks N] [--post-ticks] [--timer-id N] [--minutes N]\n"
               "       [--seconds N] [--out DIR] [--float-button]\n",
               stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return usage();
    const std::wstring command = argv[1];
    std::map<std::wstring, std::wstring> args;
    for (int i = 2; i < argc; ++i) {
        std::wstring key = argv[i];
        if (!key.starts_with(L"--")) return usage();
        if (key == L"--post-ticks" || key == L"--verbose" || key == L"--float-button" || key == L"--multi-draw")
            args[key] = L"1";
        else if (i + 1 < argc)
            args[key] = argv[++i];
        else
            return usage();
    }
    e2e::Options options;
    options.exe = hostPath(args[L"--exe"]);
    options.emptyExe = hostPath(args[L"--empty"]);
    options.workRoot = hostPath(args[L"--work"]);
    if (args.count(L"--dpi")) options.dpi = std::stoi(args[L"--dpi"]);
    options.verbose = args.count(L"--verbose") > 0;
    if (args.count(L"--timer-id")) options.timerId = std::stoi(args[L"--timer-id"]);
    if (args.count(L"--only")) {
        std::string list = e2e::toUtf8(args[L"--only"]);
        for (size_t start = 0; start <= list.size();) {
            size_t end = list.find(',', start);
            if (end == std::string::npos) end = list.size();
            if (end > start) options.only.push_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    if (options.workRoot.empty() || (command != L"shots" && command != L"objects" && options.exe.empty()))
        return usage();
    std::error_code error;
    std::filesystem::create_directories(options.workRoot, error);

    HDC screen = GetDC(nullptr);
    std::printf("Wine: ANSI code page %u, screen %dx%d at %d DPI\n", GetACP(), GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    std::fflush(stdout);
    if (command == L"run") return std::min(e2e::runCases(options), 125);
    if (command == L"startup")
        return e2e::measureStartup(options, args.count(L"--runs") ? std::stoi(args[L"--runs"]) : 7,
                                   args.count(L"--float-button") > 0);
    if (command == L"idle")
        return e2e::measureIdle(options, args.count(L"--minutes") ? std::stoi(args[L"--minutes"]) : 10,
                                args.count(L"--float-button") > 0);
    if (command == L"objects")
        return e2e::measureObjects(options, args.count(L"--ticks") ? std::stoi(args[L"--ticks"]) : 10000,
                                   args.count(L"--post-ticks") > 0);
    if (command == L"soak")
        return e2e::measureSoak(options, args.count(L"--minutes") ? std::stoi(args[L"--minutes"]) : 60);
    if (command == L"cpu")
        return e2e::measureRollingCpu(options, args.count(L"--seconds") ? std::stoi(args[L"--seconds"]) : 8,
                                      args.count(L"--runs") ? std::stoi(args[L"--runs"]) : 3,
                                      args.count(L"--multi-draw") > 0);
    if (command == L"shots") return e2e::takeScreenshots(options, hostPath(args[L"--out"]));
    return usage();
}
