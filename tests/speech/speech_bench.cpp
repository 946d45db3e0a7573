// How long speakText keeps the GUI thread: the text is only queued for the espeak
// voice's worker thread, whether that thread is idle or busy speaking. The target
// is well under a millisecond, the roll call's 10 ms tick never waiting on speech.
#include "speech/espeak/espeak_voice.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace tallyra {
namespace {

// Discards the audio (benchmark machines have no sound card) and counts the texts.
class CountingSink final : public PcmSink {
public:
    explicit CountingSink(std::shared_ptr<std::atomic<std::size_t>> ended) : ended_(std::move(ended)) {}
    void beginText(std::string_view, int) override {}
    bool writeSamples(std::span<const std::int16_t>) override { return true; }
    void endText() override { ++*ended_; }

private:
    std::shared_ptr<std::atomic<std::size_t>> ended_;
};

// The worker is waiting for work: each call wakes it.
void BM_SpeakTextIdleVoice(benchmark::State& state) {
    auto ended = std::make_shared<std::atomic<std::size_t>>(0);
    EspeakVoice voice(std::make_unique<CountingSink>(ended));
    voice.listVoices(); // the synthesiser loaded before the timing starts
    std::size_t queued = 0;
    for (auto _ : state) {
        while (ended->load() < queued)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(voice.speakText("07号张三"));
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        ++queued;
    }
}
// Every call waits for a whole synthesis first, so the count is kept small.
BENCHMARK(BM_SpeakTextIdleVoice)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

// The worker is busy synthesising: each call only joins the queue.
void BM_SpeakTextBusyVoice(benchmark::State& state) {
    auto ended = std::make_shared<std::atomic<std::size_t>>(0);
    EspeakVoice voice(std::make_unique<CountingSink>(ended));
    voice.listVoices(); // the synthesiser loaded before the timing starts
    for (auto _ : state)
        benchmark::DoNotOptimize(voice.speakText("07号张三"));
}
// Fixed, so the queue the worker never catches up with stays small.
BENCHMARK(BM_SpeakTextBusyVoice)->Iterations(200000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tallyra
