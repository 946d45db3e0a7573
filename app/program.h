// The program's entry sequence, the same on every platform: the global state (the
// roll call and the voice), the exit handler, the main window and the message loop.
#pragma once

#include "draw/roll_call.h"
#include "ui/toolkit.h"

#include <functional>

namespace tallyra::app {

// What the platform's entry point provides.
struct Platform {
    ui::Toolkit& toolkit;
    // Runs until the main window is gone and returns the exit code it was given.
    std::function<int()> runMessageLoop;
};

// Creates the global state, registers the exit handler, loads the main window (whose
// creation runs the start-up sequence) and runs the message loop. Returns the exit code.
int runProgram(const Platform& platform);

// The global state; valid between the start of runProgram and the exit handler.
RollCall& rollCall();

// The exit handler (registered with std::atexit by runProgram): frees the roll call's
// lists and pool, then releases the speech object. Safe to run more than once.
void releaseGlobalState();

} // namespace tallyra::app
