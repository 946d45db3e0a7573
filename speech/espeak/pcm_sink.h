// Where the espeak voice's worker thread puts synthesised audio: the sound device
// in the program, memory in tests. Samples are 16-bit signed mono at the rate
// given for each text. Every call comes from the worker thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>

namespace tallyra {

class PcmSink {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~PcmSink() = default;

    virtual void beginText(std::string_view text, int sampleRate) = 0;
    // Called after beginText: makes the device ready for the text; false when
    // there is none to play it on (the text is then not synthesised).
    virtual bool openDevice() { return true; }
    // False drops the rest of the text (the device failed); the voice goes on
    // with the next text.
    virtual bool writeSamples(std::span<const std::int16_t> samples) = 0;
    virtual void endText() = 0;

    // When the audio handed over so far will have been played; the worker waits
    // until then before calling finish, unless a new text arrives first.
    virtual Clock::time_point playingUntil() const { return {}; }
    // The queue is empty and the audio has played: let the device go.
    virtual void finish() {}
    // The voice is being released: drop whatever is still playing.
    virtual void abort() {}
};

} // namespace tallyra
