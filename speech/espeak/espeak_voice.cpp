#include "speech/espeak/espeak_voice.h"

#include "speech/espeak/audio_sink.h"
#include "speech/espeak/speech_libraries.h"
#include "speech/announce.h"
#include "speech/voice_choice.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <span>

namespace tallyra {
namespace {

// How long the sound device stays open after the last text has played, in case
// the next draw settles at once.
constexpr auto kLinger = std::chrono::milliseconds(300);

// How long a text after a silence waits for the sound device to open; a device
// that takes longer is taken to play it.
constexpr auto kDeviceWait = std::chrono::milliseconds(500);

// Receives the samples of one synthesis; false stops it.
class SynthTarget {
public:
    virtual ~SynthTarget() = default;
    virtual bool take(std::span<const std::int16_t> samples) = 0;
};

// Tells whether a synthesis makes any sound: a voice whose dictionary is missing
// loads and "speaks" silence.
class SoundDetector final : public SynthTarget {
public:
    bool take(std::span<const std::int16_t> samples) override {
        for (const std::int16_t sample : samples)
            if (sample > kAudible || sample < -kAudible) heard = true;
        return !heard;
    }
    static constexpr std::int16_t kAudible = 256;
    bool heard = false;
};

// espeak-ng calls this from inside espeak_ng_Synthesize, on the calling thread.
int onSynthesis(short* wav, int count, espeak_EVENT* events) {
    auto* target = events ? static_cast<SynthTarget*>(events->user_data) : nullptr;
    if (!target || !wav || count <= 0) return 0;
    return target->take({reinterpret_cast<const std::int16_t*>(wav), static_cast<std::size_t>(count)}) ? 0 : 1;
}

// espeak-ng 1.51 keeps its state in globals and cannot be loaded twice in one
// process: after a reload, espeak_ng_Terminate hangs. So it is loaded once, by the
// first voice, and stays loaded until the process ends; every call into it holds
// this engine's lock.
struct Engine {
    std::mutex mutex;
    bool tried = false;
    bool loaded = false;
    std::string dataFolder;
    const espeak::Synthesiser* library = nullptr; // set once loaded
    int sampleRate = 0;
    std::string currentVoice; // identifier of the voice last selected
};

Engine& engine() {
    // Never destroyed: the program may release its voice from an exit handler, after static destructors.
    static Engine* const instance = new Engine;
    return *instance;
}

bool loadEngine(Engine& e, const std::string& dataFolder) {
    if (e.tried) return e.loaded && e.dataFolder == dataFolder;
    e.tried = true;
    e.dataFolder = dataFolder;
    const espeak::Synthesiser* library = espeak::synthesiser();
    if (!library) return false;
    // The espeak_ng_* calls report errors; the older espeak_Initialize ends the
    // process when the data folder is missing. Loading also switches the process's
    // LC_CTYPE to a UTF-8 locale, for espeak-ng's own character handling; it is left so.
    library->initializePath(dataFolder.empty() ? nullptr : dataFolder.c_str());
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = library->initialize(&context);
    if (context) library->clearErrorContext(&context);
    if (status != ENS_OK) return false;
    if (library->initializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) != ENS_OK) return false;
    library->setSynthCallback(onSynthesis);
    e.sampleRate = library->sampleRate();
    e.loaded = e.sampleRate > 0;
    if (e.loaded) e.library = library;
    return e.loaded;
}

bool selectVoice(Engine& e, const std::string& identifier) {
    if (e.currentVoice == identifier) return true;
    if (e.library->setVoiceByName(identifier.c_str()) != ENS_OK) return false;
    e.currentVoice = identifier;
    return true;
}

espeak_ng_STATUS synthesiseInto(const Engine& e, const std::string& text, SynthTarget& target) {
    return e.library->synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8 | espeakENDPAUSE,
                                nullptr, &target);
}

// The first language of a voice: its language list is a run of (priority byte,
// NUL-terminated name) ending in a zero byte.
std::string_view firstLanguage(const espeak_VOICE& voice) {
    if (!voice.languages || voice.languages[0] == 0) return {};
    return voice.languages + 1;
}

// Mandarin, as espeak-ng names its first language.
bool isMandarin(std::string_view language) {
    return language == "cmn" || language.starts_with("cmn-") || language == "zh-cmn" || language == "zh";
}

std::vector<ListedVoice> installedVoices(const Engine& e) {
    std::vector<ListedVoice> entries;
    const espeak_VOICE** list = e.library->listVoices(nullptr);
    for (std::size_t i = 0; list && list[i]; ++i) {
        const espeak_VOICE& voice = *list[i];
        if (!voice.identifier) continue;
        entries.push_back({voice.name ? voice.name : "", voice.identifier, std::string(firstLanguage(voice))});
    }
    orderForChoice(entries);
    return entries;
}

// Wraps the worker's sink: stops synthesising when the voice is released.
class SinkWriter final : public SynthTarget {
public:
    SinkWriter(PcmSink& sink, const std::atomic<bool>& stopping) : sink_(sink), stopping_(stopping) {}
    bool take(std::span<const std::int16_t> samples) override {
        if (stopping_.load(std::memory_order_relaxed)) return false;
        played = played && sink_.writeSamples(samples);
        return played;
    }
    bool played = true; // the device took every sample so far

private:
    PcmSink& sink_;
    const std::atomic<bool>& stopping_;
};

} // namespace

bool readsPinyin(std::string_view language) {
    return language == "cmn-latn-pinyin";
}

void orderForChoice(std::vector<ListedVoice>& voices) {
    const auto rank = [](const ListedVoice& v) { return readsPinyin(v.language) ? 0 : isMandarin(v.language) ? 1 : 2; };
    std::stable_sort(voices.begin(), voices.end(),
                     [&](const ListedVoice& a, const ListedVoice& b) { return rank(a) < rank(b); });
}

EspeakVoice::EspeakVoice(std::unique_ptr<PcmSink> sink, std::string dataFolder)
    : sink_(sink ? std::move(sink) : std::make_unique<AudioSink>()), dataFolder_(std::move(dataFolder)) {}

void EspeakVoice::prepare() {
    std::call_once(prepared_, [this] { load(); });
}

void EspeakVoice::load() {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    if (!loadEngine(e, dataFolder_)) return;

    const std::vector<ListedVoice> entries = installedVoices(e);
    std::vector<std::string> descriptions;
    descriptions.reserve(entries.size());
    for (const ListedVoice& entry : entries)
        descriptions.push_back(entry.description);

    std::string identifier, description;
    bool pinyin = false;
    if (const auto chosen = chooseVoice(descriptions)) {
        identifier = entries[*chosen].identifier;
        description = entries[*chosen].description;
        pinyin = readsPinyin(entries[*chosen].language);
    } else if (const espeak_VOICE* current = e.library->currentVoice(); current && current->identifier) {
        identifier = current->identifier; // no Chinese voice: the library's default voice stays
        description = current->name ? current->name : current->identifier;
    }
    if (identifier.empty() || !selectVoice(e, identifier)) return;

    // Only a voice that makes a sound counts as one that can speak.
    SoundDetector probe;
    synthesiseInto(e, "1", probe);
    if (!probe.heard) return;

    voiceId_ = std::move(identifier);
    chosenVoice_ = std::move(description);
    readsPinyin_ = pinyin;
    voices_ = std::move(descriptions);
    worker_ = std::thread([this] { run(); });
}

EspeakVoice::~EspeakVoice() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    wake_.notify_one();
    deviceAnswered_.notify_all();
    if (worker_.joinable()) worker_.join();
}

std::vector<std::string> EspeakVoice::listVoices() {
    prepare();
    return voices_;
}

const std::string& EspeakVoice::chosenVoice() {
    prepare();
    return chosenVoice_;
}

bool EspeakVoice::speakText(std::string_view text) {
    prepare();
    if (!worker_.joinable()) return false;
    std::unique_lock lock(mutex_);
    if (stopping_) return false;
    queue_.emplace_back(text);
    const std::uint64_t ticket = ++queued_;
    wake_.notify_one();
    if (deviceOpen_) return true; // the device is playing or lingering: it takes this text too
    if (!deviceAnswered_.wait_for(lock, kDeviceWait, [&] { return stopping_ || answered_ >= ticket; })) return true;
    return lastOpened_;
}

bool EspeakVoice::speakAnnouncement(std::string_view number, std::string_view name) {
    prepare();
    return speakText(readsPinyin_ ? pinyinAnnouncement(number, name) : announcementText(number, name));
}

std::string EspeakVoice::phonemes(std::string_view text) {
    prepare();
    if (voiceId_.empty()) return {};
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    if (!selectVoice(e, voiceId_)) return {};
    const std::string copy(text); // NUL-terminated
    const void* rest = copy.c_str();
    std::string phonemes;
    while (rest) {
        const char* clause = e.library->textToPhonemes(&rest, espeakCHARS_UTF8, 0);
        if (!phonemes.empty()) phonemes += ' ';
        phonemes += clause ? clause : "";
    }
    return phonemes;
}

void EspeakVoice::run() {
    bool deviceHeld = false;
    for (;;) {
        std::string text;
        {
            std::unique_lock lock(mutex_);
            const auto ready = [this] { return stopping_ || !queue_.empty(); };
            if (deviceHeld && !ready()) {
                if (!wake_.wait_until(lock, sink_->playingUntil() + kLinger, ready)) {
                    deviceOpen_ = false; // the next text waits for the device to open again
                    lock.unlock();
                    sink_->finish();
                    deviceHeld = false;
                    continue;
                }
            }
            wake_.wait(lock, ready);
            if (stopping_) break;
            text = std::move(queue_.front());
            queue_.pop_front();
        }
        synthesise(text);
        deviceHeld = true;
    }
    sink_->abort();
}

void EspeakVoice::synthesise(const std::string& text) {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    sink_->beginText(text, e.sampleRate);
    const bool opened = selectVoice(e, voiceId_) && sink_->openDevice();
    setDeviceOpen(opened, true);
    SinkWriter writer(*sink_, stopping_);
    if (opened) synthesiseInto(e, text, writer);
    sink_->endText();
    if (!writer.played) setDeviceOpen(false, false); // lost while playing: the next text tries again
}

void EspeakVoice::setDeviceOpen(bool open, bool answersText) {
    {
        std::lock_guard lock(mutex_);
        deviceOpen_ = open;
        if (answersText) {
            lastOpened_ = open;
            ++answered_;
        }
    }
    deviceAnswered_.notify_all();
}

} // namespace tallyra
