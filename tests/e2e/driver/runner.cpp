// Runs the test cases one by one and reports each with its failures.
#include "runner.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace e2e {

namespace {

long long nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

CaseContext::CaseContext(const Options& options, std::string name)
    : options_(options), name_(std::move(name)), startedMs_(nowMs()) {}

void CaseContext::step(const std::string& description) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%7lld ms  ", nowMs() - startedMs_);
    steps_.push_back(stamp + description);
    if (options_.verbose) {
        std::printf("      %s\n", steps_.back().c_str());
        std::fflush(stdout);
    }
}

void CaseContext::printSteps() const {
    if (options_.verbose || steps_.empty()) return;
    std::printf("    steps up to the failure:\n");
    const size_t first = steps_.size() > 40 ? steps_.size() - 40 : 0;
    for (size_t i = first; i < steps_.size(); ++i)
        std::printf("      %s\n", steps_[i].c_str());
}

void CaseContext::check(bool condition, const std::string& message) {
    if (condition) return;
    failures_.push_back(message);
    std::printf("    FAILED: %s\n", message.c_str());
    std::fflush(stdout);
}

void CaseContext::fail(const std::string& message) {
    failures_.push_back(message);
    std::printf("    FAILED: %s\n", message.c_str());
    std::fflush(stdout);
    throw Failure(message);
}

void CaseContext::note(const std::string& message) {
    std::printf("    %s\n", message.c_str());
    std::fflush(stdout);
}

int runCases(const Options& options) {
    int passed = 0, failed = 0;
    for (const TestCase& test : allCases()) {
        if (!options.only.empty()) {
            if (std::find(options.only.begin(), options.only.end(), test.name) == options.only.end()) continue;
        } else if (!(options.dpi == 96 ? test.at96 : test.atHigh)) {
            continue;
        }
        std::printf("[ RUN  ] %s: %s\n", test.name, test.summary);
        std::fflush(stdout);
        CaseContext context(options, test.name);
        const auto started = std::chrono::steady_clock::now();
        try {
            test.run(context);
        } catch (const Failure&) {
            // Already recorded.
        } catch (const std::exception& error) {
            context.check(false, std::string("unexpected exception: ") + error.what());
        }
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
        if (context.failures().empty()) {
            ++passed;
            std::printf("[   OK ] %s (%lld ms)\n", test.name, static_cast<long long>(ms));
        } else {
            ++failed;
            context.printSteps();
            std::printf("[ FAIL ] %s (%lld ms, %zu failed checks)\n", test.name, static_cast<long long>(ms),
                        context.failures().size());
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed;
}

} // namespace e2e
