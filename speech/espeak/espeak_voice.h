// The voice on Linux: espeak-ng. A worker thread owns the synthesis and a queue of
// texts, so speakText returns at once and texts are spoken one after another in
// the order they came, none interrupting another. Only the first text after a
// silence waits for the worker to open the sound device, so that a voice without
// one refuses the text as the Windows voice does. The synthesiser (some 3.5 MB and
// a few milliseconds) is loaded by the first call that needs it: a program with
// speech off never loads it. Speech is synthesised into
// memory and handed to a PcmSink (the sound device in the program), so a missing
// or broken sound device costs the text its sound and nothing else.
#pragma once

#include "speech/espeak/pcm_sink.h"
#include "speech/speech_voice.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tallyra {

// A voice as espeak-ng lists it; language is its first language ("cmn", "yue").
struct ListedVoice {
    std::string description;
    std::string identifier;
    std::string language;
};

// True for the Mandarin voice that reads Latin letters as pinyin. espeak-ng 1.51's
// plain Mandarin voice reads them as English, and with them its own readings of
// some characters: 号 comes out as "hao four".
bool readsPinyin(std::string_view language);

// Puts the voices in the order the choice of the first one naming Chinese goes
// through: the Mandarin voice that reads pinyin, the other Mandarin voices, then
// the rest (Cantonese and Hakka are "Chinese" too), each group in espeak-ng's order.
void orderForChoice(std::vector<ListedVoice>& voices);

class EspeakVoice final : public SpeechVoice {
public:
    // dataFolder: an espeak-ng-data folder; empty takes the library's own. espeak-ng
    // keeps its state in globals and is loaded once per process: every voice of a
    // process uses the data folder of the first.
    explicit EspeakVoice(std::unique_ptr<PcmSink> sink = nullptr, std::string dataFolder = {});
    ~EspeakVoice() override;

    std::vector<std::string> listVoices() override;
    bool speakText(std::string_view text) override;

    // A listed surname at the start of the name is read with its surname reading,
    // as pinyin, when the voice reads pinyin.
    bool speakAnnouncement(std::string_view number, std::string_view name) override;

    // Description of the voice that speaks; empty when no voice can speak.
    const std::string& chosenVoice();

    // What the voice makes of a text, in espeak-ng's phoneme mnemonics, one clause
    // after another; empty when no voice can speak.
    std::string phonemes(std::string_view text);

private:
    void prepare();
    void load();
    void run();
    void synthesise(const std::string& text);
    // The worker tells speakText whether the device is open; answersText: for the
    // text it has just begun.
    void setDeviceOpen(bool open, bool answersText);

    std::unique_ptr<PcmSink> sink_;
    std::string dataFolder_;
    std::once_flag prepared_;
    std::vector<std::string> voices_; // empty when no voice can speak
    std::string voiceId_;
    std::string chosenVoice_;
    bool readsPinyin_ = false;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    std::atomic<bool> stopping_ = false;
    std::condition_variable deviceAnswered_;
    bool deviceOpen_ = false;     // the worker holds a device that took the last text
    std::uint64_t queued_ = 0;    // texts queued so far
    std::uint64_t answered_ = 0;  // texts for which the device opened or failed
    bool lastOpened_ = false;     // the device opened for the text answered last
    std::thread worker_;
};

} // namespace tallyra
