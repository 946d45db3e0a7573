#include "speech/espeak/audio_sink.h"

#include "speech/espeak/speech_libraries.h"

#include <algorithm>

namespace tallyra {

AudioSink::~AudioSink() {
    close(false);
}

void AudioSink::beginText(std::string_view, int sampleRate) {
    sampleRate_ = sampleRate;
    failed_ = false;
}

bool AudioSink::openDevice() {
    failed_ = failed_ || sampleRate_ <= 0 || !open();
    return !failed_;
}

bool AudioSink::open() {
    if (device_ && openRate_ == sampleRate_) return true;
    close(true);
    output_ = espeak::soundOutput();
    if (!output_) return false;
    // The device object is made anew for every burst of speech: pcaudio picks
    // PulseAudio only when its server runs at that moment.
    device_ = output_->createDevice(nullptr, "Tallyra", "Announcement");
    if (!device_) return false;
    if (output_->open(device_, AUDIO_OBJECT_FORMAT_S16LE, static_cast<std::uint32_t>(sampleRate_), 1) != 0) {
        output_->destroy(device_);
        device_ = nullptr;
        return false;
    }
    openRate_ = sampleRate_;
    return true;
}

bool AudioSink::writeSamples(std::span<const std::int16_t> samples) {
    if (failed_ || sampleRate_ <= 0) return false;
    if (!open()) {
        failed_ = true;
        return false;
    }
    if (output_->write(device_, samples.data(), samples.size_bytes()) != 0) {
        close(false);
        failed_ = true;
        return false;
    }
    // The device takes samples faster than it plays them; remember when they end.
    const auto now = Clock::now();
    const auto length = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(samples.size()) / sampleRate_));
    playingUntil_ = std::max(playingUntil_, now) + length;
    return true;
}

void AudioSink::finish() {
    close(true);
}

void AudioSink::abort() {
    close(false);
}

void AudioSink::close(bool drain) {
    if (!device_) return;
    if (drain)
        output_->drain(device_);
    else
        output_->flush(device_);
    output_->close(device_);
    output_->destroy(device_);
    device_ = nullptr;
    openRate_ = 0;
    playingUntil_ = {};
}

} // namespace tallyra
