// The program's one voice: lists the installed voices and queues texts for
// speaking without waiting. Each platform has its own backend behind this
// interface (SAPI 5 on Windows, espeak-ng on Linux, a silent one where there is
// no speech service); createSpeechVoice picks the one the program was built with.
#pragma once

#include "base/native_window.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

class SpeechVoice {
public:
    virtual ~SpeechVoice() = default;
    SpeechVoice() = default;
    SpeechVoice(const SpeechVoice&) = delete;
    SpeechVoice& operator=(const SpeechVoice&) = delete;

    // One description per installed voice (UTF-8), in the platform's order; empty
    // when there is no voice that can speak.
    virtual std::vector<std::string> listVoices() = 0;

    // Queues a UTF-8 text behind whatever is still being spoken and returns at
    // once; true when the voice accepted it. Shows nothing: the caller tells the
    // user about a refusal.
    virtual bool speakText(std::string_view text) = 0;

    // Queues the announcement of a settled student (number, "号", name) as
    // speakText does. A voice that can be told how to read a surname overrides it
    // to read a listed surname at the start of the name with its surname reading.
    virtual bool speakAnnouncement(std::string_view number, std::string_view name);

    // The window unit told when speaking starts and ends, from the next speak call
    // on. Backends without such notifications keep it and send nothing.
    void setReceiver(NativeWindow receiver) { receiver_ = receiver; }
    NativeWindow receiver() const { return receiver_; }

private:
    NativeWindow receiver_ = nullptr;
};

// The voice of the platform the program was built for. Never null: without a
// speech service the voice lists nothing and refuses every text.
std::unique_ptr<SpeechVoice> createSpeechVoice();

// Releases the voice without waiting for a text still being spoken.
void destroySpeechVoice(std::unique_ptr<SpeechVoice>& voice);

} // namespace tallyra
