// The voice on Windows: a SAPI 5 SpVoice object through COM. Texts are handed to
// SAPI asynchronously, which queues them; the voice is the first installed one
// whose description names Chinese. Under Wine, whose SpVoice has no voice, every
// path ends in "no voice" without harm.
//
// The SpVoice object lives on a thread of its own, in that thread's apartment, and
// is created there while the program builds its windows. Calls reach it through
// SendMessage to a message-only window of that thread, which COM allows without
// marshalling; its notifications reach the receiver the same way.
#pragma once

#include "speech/speech_voice.h"

#include <windows.h>

#include <memory>

namespace tallyra {

struct SapiVoiceState;

class SapiVoice final : public SpeechVoice {
public:
    // Starts the voice's thread, which creates the SpVoice object; without it the
    // voice lists nothing and refuses every text. Later calls come from the thread
    // that created this object (the GUI thread) and first wait for the creation.
    SapiVoice();
    // Releases the SpVoice object without waiting for a text still being spoken,
    // and ends the voice's thread.
    ~SapiVoice() override;

    std::vector<std::string> listVoices() override;
    bool speakText(std::string_view text) override;
    // Spoken as XML, a listed surname at the start of the name in a PRON tag.
    bool speakAnnouncement(std::string_view number, std::string_view name) override;

private:
    // flags: SPEAKFLAGS for ISpVoice::Speak.
    bool speak(std::string_view text, unsigned long flags);

    // The voice thread's window once the voice is created; null without one.
    HWND readyRequests() const;

    std::unique_ptr<SapiVoiceState> state_;
};

} // namespace tallyra
