// The voice on Linux: espeak-ng. A worker thread owns the synthesis and a queue of
// texts, so speakText returns at once and texts are spoken one after another in
// the order they came, none interrupting another. The synthesiser (some 3.5 MB and
// a few milliseconds) is loaded by the first call that needs it: a program with
// speech off never loads it. Speech is synthesised into
// memory and handed to a PcmSink (the sound device in the program), so a missing
// or broken sound device costs the text its sound and nothing else.
#pragma once

#include "speech/espeak/pcm_sink.h"
#include "speech/speech_voice.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tallyra {

class EspeakVoice final : public SpeechVoice {
public:
    // dataFolder: an espeak-ng-data folder; empty takes the library's own. espeak-ng
    // keeps its state in globals and is loaded once per process: every voice of a
    // process uses the data folder of the first.
    explicit EspeakVoice(std::unique_ptr<PcmSink> sink = nullptr, std::string dataFolder = {});
    ~EspeakVoice() override;

    std::vector<std::string> listVoices() override;
    bool speakText(std::string_view text) override;

    // Description of the voice that speaks; empty when no voice can speak.
    const std::string& chosenVoice();

private:
    void prepare();
    void load();
    void run();
    void synthesise(const std::string& text);

    std::unique_ptr<PcmSink> sink_;
    std::string dataFolder_;
    std::once_flag prepared_;
    std::vector<std::string> voices_; // empty when no voice can speak
    std::string voiceId_;
    std::string chosenVoice_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    std::atomic<bool> stopping_ = false;
    std::thread worker_;
};

} // namespace tallyra
