// Whole-process figures for the probes: resident memory and CPU time so far.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace tallyra::bench {

struct ProcessFigures {
    long residentKilobytes = 0;
    long anonymousKilobytes = 0; // of which private memory (heap, stacks, caches)
    long fileKilobytes = 0;      // of which mapped files (libraries, fonts), shared with other programs
    double cpuSeconds = 0;
    std::chrono::steady_clock::time_point at = std::chrono::steady_clock::now();
};

inline ProcessFigures processFigures() {
    ProcessFigures figures;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            figures.residentKilobytes = std::stol(line.substr(6));
        else if (line.rfind("RssAnon:", 0) == 0)
            figures.anonymousKilobytes = std::stol(line.substr(8));
        else if (line.rfind("RssFile:", 0) == 0)
            figures.fileKilobytes = std::stol(line.substr(8));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    figures.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return figures;
}

// One line: what, resident kB at the end, CPU seconds and wall seconds in between, CPU share of one core.
inline void printFigures(const char* what, const ProcessFigures& before, const ProcessFigures& after) {
    const double wall = std::chrono::duration<double>(after.at - before.at).count();
    const double cpu = after.cpuSeconds - before.cpuSeconds;
    std::printf("%s rss_kb=%ld anon_kb=%ld file_kb=%ld cpu_s=%.3f wall_s=%.3f cpu_share=%.2f%%\n", what,
                after.residentKilobytes, after.anonymousKilobytes, after.fileKilobytes, cpu, wall,
                wall > 0 ? 100.0 * cpu / wall : 0.0);
    std::fflush(stdout);
}

} // namespace tallyra::bench
