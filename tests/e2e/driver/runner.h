// Test cases of the driver: each runs on its own, a failed requirement ends only
// that case, and the run ends with the line "N passed, M failed".
#pragma once

#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

struct Options {
    std::filesystem::path exe;      // Tallyra.exe as built
    std::filesystem::path emptyExe; // the empty window program
    std::filesystem::path workRoot; // a fresh folder per case is made below it
    int dpi = 96;                   // the prefix's LogPixels, for the expected geometry
    std::vector<std::string> only;  // case names to run; empty: all for this DPI
    bool verbose = false;           // print every step, not only those of failed cases
    int timerId = 1;                // the ID the program gives its rolling timer (posted ticks)
};

// A requirement that failed: ends the case.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class CaseContext {
public:
    CaseContext(const Options& options, std::string name);
    const Options& options() const { return options_; }
    const std::string& name() const { return name_; }

    // Records a failed check and goes on.
    void check(bool condition, const std::string& message);
    // Records and ends the case.
    [[noreturn]] void fail(const std::string& message);
    void require(bool condition, const std::string& message) {
        if (!condition) fail(message);
    }
    void note(const std::string& message);
    // A step of the case, kept with its time and printed when the case fails.
    void step(const std::string& description);
    void printSteps() const;
    const std::vector<std::string>& failures() const { return failures_; }

private:
    const Options& options_;
    std::string name_;
    std::vector<std::string> failures_;
    std::vector<std::string> steps_;
    long long startedMs_ = 0;
};

struct TestCase {
    const char* name;
    const char* summary;
    bool at96;   // runs in the 96 DPI prefix
    bool atHigh; // runs in a prefix of another DPI
    void (*run)(CaseContext&);
};

std::span<const TestCase> allCases();

// Runs the cases that apply; prints one line per case and the final count. Returns the number failed.
int runCases(const Options& options);

} // namespace e2e
