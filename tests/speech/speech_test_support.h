// Test doubles of the speech tests: a voice that records what it is asked to say.
#pragma once

#include "speech/speech_voice.h"
#include "tests/support/print_message.h"
#include "tests/support/program_folder.h"

#include <string>
#include <vector>

namespace tallyra::testing {

class FakeVoice : public SpeechVoice {
public:
    std::vector<std::string> listVoices() override {
        ++listCalls;
        return voices;
    }
    bool speakText(std::string_view text) override {
        spoken.emplace_back(text);
        return accepts;
    }

    std::vector<std::string> voices;
    bool accepts = true;
    std::vector<std::string> spoken; // every text offered, accepted or not
    int listCalls = 0;
};

} // namespace tallyra::testing
