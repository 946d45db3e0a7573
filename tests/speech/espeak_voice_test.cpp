// The espeak-ng voice for real, with the audio kept in memory (test machines have
// no sound card): the chosen voice says Mandarin (checked through its phonemes),
// a leading surname is said with its surname reading, an announcement sounds like
// one, queued texts are spoken whole and in order, releasing stops at once, missing
// voice data means no voice, and a machine without a sound device refuses texts.
#include "speech/espeak/audio_sink.h"
#include "speech/espeak/espeak_voice.h"
#include "speech/announce.h"
#include "speech/surnames.h"
#include "speech/voice_choice.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <random>
#include <thread>

namespace tallyra {
namespace {

using namespace std::chrono_literals;

// Guards the tests against a hang; no test depends on it for its result.
constexpr auto kPatience = 60s;

struct Recorded {
    std::string text;
    int sampleRate = 0;
    std::vector<std::int16_t> samples;
    bool ended = false;

    double seconds() const { return sampleRate > 0 ? static_cast<double>(samples.size()) / sampleRate : 0.0; }
    double rms() const {
        double energy = 0;
        for (const std::int16_t s : samples)
            energy += static_cast<double>(s) * s;
        return samples.empty() ? 0.0 : std::sqrt(energy / static_cast<double>(samples.size()));
    }
};

// What the voice's sink saw, shared with the test (the voice owns the sink).
class Recording {
public:
    std::vector<Recorded> texts() {
        std::lock_guard lock(mutex_);
        return texts_;
    }
    // Waits until `count` texts have ended.
    bool waitForEnded(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] {
            return static_cast<std::size_t>(
                       std::count_if(texts_.begin(), texts_.end(), [](const Recorded& t) { return t.ended; })) >= count;
        });
    }
    bool waitForFirstSamples() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return !texts_.empty() && !texts_[0].samples.empty(); });
    }

    std::chrono::microseconds writeDelay{0}; // a slow device
    bool noDevice = false;

private:
    friend class RecordingSink;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Recorded> texts_;
};

class RecordingSink final : public PcmSink {
public:
    explicit RecordingSink(std::shared_ptr<Recording> recording) : recording_(std::move(recording)) {}
    void beginText(std::string_view text, int sampleRate) override {
        update([&](std::vector<Recorded>& texts) { texts.push_back({std::string(text), sampleRate, {}, false}); });
    }
    bool openDevice() override { return !recording_->noDevice; }
    bool writeSamples(std::span<const std::int16_t> samples) override {
        if (recording_->writeDelay.count() > 0) std::this_thread::sleep_for(recording_->writeDelay);
        update([&](std::vector<Recorded>& texts) {
            texts.back().samples.insert(texts.back().samples.end(), samples.begin(), samples.end());
        });
        return true;
    }
    void endText() override {
        update([](std::vector<Recorded>& texts) { texts.back().ended = true; });
    }

private:
    template <typename Change> void update(Change change) {
        {
            std::lock_guard lock(recording_->mutex_);
            change(recording_->texts_);
        }
        recording_->changed_.notify_all();
    }
    std::shared_ptr<Recording> recording_;
};

struct RecordedVoice {
    RecordedVoice() : recording(std::make_shared<Recording>()), voice(std::make_unique<RecordingSink>(recording)) {}
    std::shared_ptr<Recording> recording;
    EspeakVoice voice;
};

// Samples of a text spoken on its own.
std::vector<std::int16_t> spokenAlone(std::string_view text) {
    RecordedVoice alone;
    EXPECT_TRUE(alone.voice.speakText(text));
    EXPECT_TRUE(alone.recording->waitForEnded(1));
    return alone.recording->texts().at(0).samples;
}

// Cantonese and Hakka voices are "Chinese" too, and espeak-ng 1.51's plain Mandarin
// voice reads some characters as English words: the choice must see the pinyin one first.
TEST(EspeakVoiceTest, TheVoiceThatReadsMandarinIsChosenWhateverTheLibraryOrder) {
    std::vector<ListedVoice> listed = {{"Chinese (Cantonese)", "sit/yue", "yue"},
                                       {"Chinese (Mandarin, latin as English)", "sit/cmn", "cmn"},
                                       {"English", "gmw/en", "en"},
                                       {"Hakka Chinese", "sit/hak", "hak"},
                                       {"Chinese (Mandarin, latin as Pinyin)", "sit/cmn-Latn-pinyin", "cmn-latn-pinyin"}};
    orderForChoice(listed);
    std::vector<std::string> descriptions;
    for (const ListedVoice& v : listed)
        descriptions.push_back(v.description);
    ASSERT_EQ(chooseVoice(descriptions), 0u);
    EXPECT_EQ(listed[0].language, "cmn-latn-pinyin");
    EXPECT_EQ(listed[1].language, "cmn");

    // What the chosen voice says, not what it is called: 号 as Mandarin hào, no English.
    RecordedVoice v;
    ASSERT_FALSE(v.voice.listVoices().empty()) << "espeak-ng-data is not installed";
    const std::string said = v.voice.phonemes("07号张三");
    EXPECT_NE(said.find("X'Au51_| ts.'a55N_| s'a55n"), std::string::npos) << said;
    EXPECT_EQ(said.find("(en)"), std::string::npos) << said;
}

// 曾 is céng (tsh'@35N) in everyday words and zēng (ts'@55N) as a surname.
TEST(EspeakVoiceTest, ALeadingSurnameIsSaidWithItsSurnameReading) {
    struct Case {
        std::string name, heard;
    };
    const Case cases[] = {
        {"曾小明", "X'Au51_| ts'@55N_| S;j'Au214_|"},
        {"王曾明", "X'Au51_| w'A35N_| tsh'@35N_|"},
        {"单于飞", "X'Au51_| s.'a51n_| ;'y35_|"},
    };
    RecordedVoice v;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        ASSERT_TRUE(v.voice.speakAnnouncement("07", cases[i].name));
    ASSERT_TRUE(v.recording->waitForEnded(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string said = v.voice.phonemes(v.recording->texts()[i].text);
        EXPECT_NE(said.find(cases[i].heard), std::string::npos) << cases[i].name << ": " << said;
    }
    // Every reading of the table is pinyin the voice knows: a misspelt one comes out as English.
    for (const SurnameReading& reading : surnameReadings()) {
        const std::string said = v.voice.phonemes(pinyinAnnouncement("07", std::string(reading.surname) + "明"));
        EXPECT_EQ(said.find("(en)"), std::string::npos) << reading.surname << ": " << said;
    }
}

TEST(EspeakVoiceTest, AnnouncementSoundsLikeSpeechOfPlausibleLength) {
    RecordedVoice v;
    ASSERT_TRUE(v.voice.speakText("07号张三"));
    ASSERT_TRUE(v.recording->waitForEnded(1));
    const Recorded said = v.recording->texts().at(0);
    EXPECT_EQ(said.text, "07号张三");
    EXPECT_GE(said.sampleRate, 8000);
    // Four syllables and a number: one to four seconds, loud enough to be speech.
    EXPECT_GT(said.seconds(), 1.0);
    EXPECT_LT(said.seconds(), 4.0);
    EXPECT_GT(said.rms(), 500.0);
    const auto peak = std::max_element(said.samples.begin(), said.samples.end(),
                                       [](std::int16_t a, std::int16_t b) { return std::abs(a) < std::abs(b); });
    EXPECT_GT(std::abs(*peak), 5000);
}

TEST(EspeakVoiceTest, TextsQueuedWhileSpeakingAreSpokenWholeAndInOrder) {
    const auto first = spokenAlone("07号张三");
    const auto second = spokenAlone("12号李四");

    RecordedVoice v;
    v.recording->writeDelay = 2ms; // the second text arrives while the first is still being spoken
    ASSERT_TRUE(v.voice.speakText("07号张三"));
    ASSERT_TRUE(v.voice.speakText("12号李四"));
    ASSERT_TRUE(v.recording->waitForEnded(2));
    const auto texts = v.recording->texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "07号张三");
    EXPECT_EQ(texts[1].text, "12号李四");
    // espeak-ng adds a little random flutter, so a text is never synthesised twice
    // to the same sample; a cut-off text would be far shorter.
    EXPECT_NEAR(static_cast<double>(texts[0].samples.size()), static_cast<double>(first.size()), first.size() * 0.02);
    EXPECT_NEAR(static_cast<double>(texts[1].samples.size()), static_cast<double>(second.size()), second.size() * 0.02);
}

TEST(EspeakVoiceTest, ReleasingStopsTheTextBeingSpokenAndDropsTheQueue) {
    const std::string text = "01号张三，02号李四，03号王五，04号赵六";
    const auto whole = spokenAlone(text);
    auto recording = std::make_shared<Recording>();
    recording->writeDelay = 20ms;
    {
        EspeakVoice voice(std::make_unique<RecordingSink>(recording));
        ASSERT_TRUE(voice.speakText(text));
        ASSERT_TRUE(voice.speakText("05号孙七"));
        ASSERT_TRUE(recording->waitForFirstSamples());
    }
    const auto texts = recording->texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_LT(texts[0].samples.size(), whole.size());
}

TEST(EspeakVoiceTest, OddTextsAreSpokenWithoutHarm) {
    const std::string odd[] = {
        "",
        "\xff\xfe\x80 07",                     // not UTF-8
        std::string("07号\0张三", 10),         // a NUL inside
        std::string(3000, 'A'),                // far longer than a name
        "<speak>07</speak> [[a]] \\x01 %s %n", // markup and format characters are text
    };
    RecordedVoice v;
    for (const std::string& text : odd)
        ASSERT_TRUE(v.voice.speakText(text));
    ASSERT_TRUE(v.recording->waitForEnded(std::size(odd)));
    EXPECT_EQ(v.recording->texts().size(), std::size(odd));
}

// The sound device as the program uses it, watched from outside: on a machine
// without one every text is refused, as the Windows voice refuses it, and speaking
// neither hangs nor crashes.
class WatchedAudioSink final : public PcmSink {
public:
    explicit WatchedAudioSink(std::shared_ptr<Recording> recording) : recorder_(recording) {}
    void beginText(std::string_view text, int sampleRate) override {
        device_.beginText(text, sampleRate);
        recorder_.beginText(text, sampleRate);
    }
    bool openDevice() override { return device_.openDevice(); }
    bool writeSamples(std::span<const std::int16_t> samples) override {
        const bool played = device_.writeSamples(samples);
        recorder_.writeSamples(samples);
        return played;
    }
    void endText() override {
        device_.endText();
        recorder_.endText();
    }
    Clock::time_point playingUntil() const override { return device_.playingUntil(); }
    void finish() override { device_.finish(); }
    void abort() override { device_.abort(); }

private:
    AudioSink device_;
    RecordingSink recorder_;
};

TEST(EspeakVoiceTest, SpeaksThroughTheSoundDeviceOrWithoutOne) {
    AudioSink probe;
    probe.beginText("", 22050);
    const bool device = probe.openDevice();
    auto recording = std::make_shared<Recording>();
    {
        EspeakVoice voice(std::make_unique<WatchedAudioSink>(recording));
        EXPECT_EQ(voice.speakText("07号张三"), device);
        EXPECT_EQ(voice.speakText("12号李四"), device);
        ASSERT_TRUE(recording->waitForEnded(2));
    }
    EXPECT_EQ(recording->texts().size(), 2u);

    RecordedVoice silent;
    silent.recording->noDevice = true;
    EXPECT_FALSE(silent.voice.speakText("07号张三"));
    EXPECT_FALSE(silent.voice.speakAnnouncement("12", "李四"));
}

// espeak-ng is loaded once per process, so each data folder is tried in a child
// process of its own.
std::filesystem::path libraryDataFolder() {
    espeak_ng_InitializePath(nullptr);
    const char* folder = nullptr;
    espeak_Info(&folder);
    return folder ? folder : "";
}

// A scratch folder removed however the test ends. A death test's child runs the
// whole test body again (so it makes a scratch folder of its own) and ends in
// std::exit, which runs no destructor: exitWithVoiceState removes it there.
struct ScratchFolder {
    std::filesystem::path path;
    ~ScratchFolder() { remove(); }
    void remove() const {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

[[noreturn]] void exitWithVoiceState(const std::filesystem::path& dataFolder, const ScratchFolder& scratch) {
    bool none = false;
    {
        EspeakVoice voice(std::make_unique<RecordingSink>(std::make_shared<Recording>()), dataFolder.string());
        none = voice.listVoices().empty() && voice.chosenVoice().empty() && !voice.speakText("07号张三");
    }
    scratch.remove();
    std::exit(none ? 0 : 1);
}

TEST(EspeakVoiceDeathTest, MissingVoiceDataMeansNoVoice) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::filesystem::path library = libraryDataFolder();
    ASSERT_TRUE(std::filesystem::exists(library / "phondata")) << library;
    std::random_device seed;
    const ScratchFolder scratchFolder{std::filesystem::temp_directory_path() /
                                      ("tallyra-espeak-" + std::to_string(seed()))};
    const auto& scratch = scratchFolder.path;
    namespace fs = std::filesystem;

    // A folder that exists but holds nothing (a folder that does not exist makes the
    // library fall back to its own); phoneme data only; voices too, but no
    // dictionary (those voices load and say nothing).
    const auto empty = scratch / "empty";
    fs::create_directories(empty);
    const auto phonemesOnly = scratch / "phonemes";
    const auto noDictionaries = scratch / "no-dictionaries";
    for (const auto& folder : {phonemesOnly, noDictionaries}) {
        fs::create_directories(folder);
        for (const char* name : {"phondata", "phonindex", "phontab", "intonations"})
            fs::copy(library / name, folder / name);
    }
    for (const char* name : {"lang", "voices"})
        if (fs::exists(library / name)) fs::copy(library / name, noDictionaries / name, fs::copy_options::recursive);

    EXPECT_EXIT(exitWithVoiceState(empty, scratchFolder), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(exitWithVoiceState(phonemesOnly, scratchFolder), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(exitWithVoiceState(noDictionaries, scratchFolder), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(exitWithVoiceState(library, scratchFolder), ::testing::ExitedWithCode(1), ""); // the check can fail
}

} // namespace
} // namespace tallyra
