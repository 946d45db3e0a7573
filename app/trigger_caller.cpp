#include "app/trigger_channel.h"

namespace tallyra::app {

std::optional<int> runTriggerCaller(const std::string& programFolder, TriggerVerb verb) {
    if (verb == TriggerVerb::None) return std::nullopt;
    if (std::optional<TriggerAnswer> answer = callRunningCopy(programFolder, verb)) return reportAnswer(*answer);
    // None runs: a draw is the program's own start; a pick needs a copy to answer it.
    if (verb == TriggerVerb::Draw) return std::nullopt;
    if (!startCopy()) return reportAnswer({TriggerCode::Failed, "无法启动点名程序。"});
    // The copy serves calls once its start-up (and any box of it) is over.
    constexpr int kPollMs = 200;
    for (int waited = 0; waited < kStartTimeoutMs; waited += kPollMs) {
        pauseFor(kPollMs);
        if (std::optional<TriggerAnswer> answer = callRunningCopy(programFolder, verb)) return reportAnswer(*answer);
    }
    return reportAnswer({TriggerCode::Failed, "点名程序启动后未能就绪。"});
}

} // namespace tallyra::app
