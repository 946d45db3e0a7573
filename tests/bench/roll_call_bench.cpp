// A roll tick runs every 10 ms on the GUI thread; it must stay far below that.
#include "draw/roll_call.h"

#include <benchmark/benchmark.h>

namespace tallyra {
namespace {

// Keeps the label texts as a window would, without drawing anything.
class LabelsOnly : public RollCallView {
public:
    std::string numberText() const override { return number_; }
    void setNumberText(std::string_view text) override { number_.assign(text); }
    std::string nameText() const override { return name_; }
    void setNameText(std::string_view text) override { name_.assign(text); }
    void setNumberFontSize(int points) override { fontSize_ = points; }
    void setCaption(std::string_view caption) override { caption_.assign(caption); }
    void setTimerInterval(int milliseconds) override { interval_ = milliseconds; }
    MessageAnswer showMessage(const Message&) override { return MessageAnswer::Yes; }

private:
    std::string number_, name_, caption_{kStartCaption};
    int fontSize_ = 90;
    int interval_ = 0;
};

void rollTick(benchmark::State& state) {
    ClassRoster roster;
    for (int i = 1; i <= 60; ++i) {
        roster.numbers.push_back("2024" + std::to_string(1000 + i));
        roster.names.push_back("学生名字" + std::to_string(i));
    }
    RollCall rollCall;
    rollCall.loadRoster(std::move(roster));
    LabelsOnly window;
    rollCall.pressStartStop(window);
    for (auto _ : state)
        rollCall.rollTick(window);
    benchmark::DoNotOptimize(rollCall.lastPick());
}
BENCHMARK(rollTick);

} // namespace
} // namespace tallyra
