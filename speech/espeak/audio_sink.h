// Plays synthesised speech on the sound device through pcaudio (PulseAudio, then
// ALSA, then OSS). The device is opened when a text begins and let go once the
// queue has run empty; a machine without a sound device makes every text silent,
// nothing more.
#pragma once

#include "speech/espeak/pcm_sink.h"

struct audio_object;

namespace tallyra::espeak {
struct SoundOutput;
}

namespace tallyra {

class AudioSink final : public PcmSink {
public:
    AudioSink() = default;
    ~AudioSink() override;
    AudioSink(const AudioSink&) = delete;
    AudioSink& operator=(const AudioSink&) = delete;

    void beginText(std::string_view text, int sampleRate) override;
    bool openDevice() override;
    bool writeSamples(std::span<const std::int16_t> samples) override;
    void endText() override {}
    Clock::time_point playingUntil() const override { return playingUntil_; }
    void finish() override;
    void abort() override;

private:
    bool open();
    void close(bool drain);

    const espeak::SoundOutput* output_ = nullptr; // set with the device
    audio_object* device_ = nullptr;
    int sampleRate_ = 0;
    int openRate_ = 0;
    bool failed_ = false; // the device refused this text
    Clock::time_point playingUntil_{};
};

} // namespace tallyra
