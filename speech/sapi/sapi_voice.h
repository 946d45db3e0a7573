// The voice on Windows: a SAPI 5 SpVoice object through COM. Texts are handed to
// SAPI asynchronously, which queues them; the voice is the first installed one
// whose description names Chinese. Under Wine, whose SpVoice has no voice, every
// path ends in "no voice" without harm.
#pragma once

#include "speech/speech_voice.h"

#include <memory>

namespace tallyra {

struct SapiVoiceState;

class SapiVoice final : public SpeechVoice {
public:
    // Initialises COM on the calling thread (the GUI thread, which every later
    // call must come from) and creates the SpVoice object; without it the voice
    // lists nothing and refuses every text.
    SapiVoice();
    // Releases the SpVoice object without waiting for a text still being spoken.
    ~SapiVoice() override;

    std::vector<std::string> listVoices() override;
    bool speakText(std::string_view text) override;

private:
    std::unique_ptr<SapiVoiceState> state_;
};

} // namespace tallyra
