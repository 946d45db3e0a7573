// Figures about the real program rather than pass/fail checks: start-up time to
// the first painted main window against an empty Win32 program, GDI and USER
// object counts while rolling, and the screenshots of the six windows.
#pragma once

#include "automation.h"
#include "runner.h"

#include <filesystem>

namespace e2e {

// GDI objects of another process: GetGuiResources, or under Wine (where it answers 0)
// the count of used entries in the process's GDI handle table; -1 when unknown.
long gdiObjectCount(const Process& process);

// Prints the medians of both programs and their ratio, and the settled working sets;
// returns 0 when every run finished. floatButton: the floating button shows at start.
int measureStartup(const Options& options, int runs, bool floatButton);
// The program's CPU time over `minutes` minutes of doing nothing (with the floating button).
int measureIdle(const Options& options, int minutes, bool floatButton);
// Prints the object counts after 10 ticks and after `ticks` ticks; `postTicks` drives
// the timer with posted WM_TIMER messages instead of waiting for it.
int measureObjects(const Options& options, int ticks, bool postTicks);
// Rolls on the program's own 10 ms timer, `seconds` in the window and `seconds` in full
// screen, `runs` times in turn, and prints the median CPU share of each (all the
// program's threads) and their ratio, with the working set after each.
// multiDraw: the same with the menu's window of several at once rolling 10 slots.
int measureRollingCpu(const Options& options, int seconds, int runs, bool multiDraw);
// Rolls on the program's own 10 ms timer for `minutes` minutes and prints GDI and
// USER objects, windows and working set at the start, every 10 minutes and at the end.
int measureSoak(const Options& options, int minutes);
// Opens each window and asks the screenshot script for a picture of it (a request
// file in `out`, answered by a PNG of the same name); returns the number of failures.
int takeScreenshots(const Options& options, const std::filesystem::path& out);

} // namespace e2e
