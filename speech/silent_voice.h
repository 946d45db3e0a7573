// The voice of a build without any speech service: it lists no voice and refuses
// every text, so the start-up check and the failure notice tell the user so.
#pragma once

#include "speech/speech_voice.h"

namespace tallyra {

class SilentVoice final : public SpeechVoice {
public:
    std::vector<std::string> listVoices() override { return {}; }
    bool speakText(std::string_view) override { return false; }
};

} // namespace tallyra
