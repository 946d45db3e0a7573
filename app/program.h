// The program's entry sequence, the same on every platform: the program object
// owns what the windows share (the roll call and the voice, whose announcement the
// class session queues for each settled pick), opens the main window (whose
// creation runs the start-up sequence) and runs the message loop.
#pragma once

#include "draw/roll_call.h"
#include "speech/speech_voice.h"
#include "storage/data_folder.h"
#include "ui/kit/toolkit.h"
#include "ui/windows/window_set.h"

#include <functional>
#include <memory>
#include <optional>

namespace tallyra::app {

// What the platform's entry point provides.
struct Platform {
    ui::Toolkit& toolkit;
    // Runs until the main window is gone and returns the exit code it was given.
    std::function<int()> runMessageLoop;
    // Makes the program's one voice.
    std::function<std::unique_ptr<SpeechVoice>()> createVoice = createSpeechVoice;
    // The folder the program runs from (its Data folder is settled from it); the executable's own when empty.
    std::function<FilePath()> runDirectory = nullptr;
};

class Program {
public:
    // Creates the roll call, then the voice.
    explicit Program(const Platform& platform);
    // Frees the roll call's lists and pool, then releases the voice.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Opens the main window and runs the message loop; the exit code.
    int run();

private:
    std::optional<Message> announce(const SettledPick& pick);

    const Platform& platform_;
    std::unique_ptr<RollCall> rollCall_;
    std::unique_ptr<SpeechVoice> voice_;
    std::unique_ptr<ui::WindowSet> windows_;
};

// A Program for the platform, run; the exit code.
int runProgram(const Platform& platform);

} // namespace tallyra::app
