// The program's entry sequence, the same on every platform: the global state (the
// roll call and the voice), the exit handler, the main window and the message loop.
#pragma once

#include "draw/roll_call.h"
#include "speech/speech_voice.h"
#include "ui/toolkit.h"

#include <functional>
#include <memory>

namespace tallyra::app {

// What the platform's entry point provides.
struct Platform {
    ui::Toolkit& toolkit;
    // Runs until the main window is gone and returns the exit code it was given.
    std::function<int()> runMessageLoop;
    // Makes the program's one voice.
    std::function<std::unique_ptr<SpeechVoice>()> createVoice = createSpeechVoice;
};

// Creates the global state (the roll call, then the voice, with the announcement as
// the roll call's settle listener), registers the exit handler, loads the main
// window (whose creation runs the start-up sequence) and runs the message loop.
// Returns the exit code; the exit handler runs when the process ends.
int runProgram(const Platform& platform);

// The global state; null before runProgram and after the exit handler.
RollCall* rollCall();
SpeechVoice* speechVoice();

// The exit handler (registered with std::atexit by runProgram): frees the roll call's
// lists and pool, then releases the voice. Safe to run more than once.
void releaseGlobalState();

} // namespace tallyra::app
