// The channel between a caller ("/draw", "/pick") and the running copy of the
// program for the same folder, local to the user's session: a message-only window
// and WM_COPYDATA on Windows, a Unix socket in the user's runtime folder on Linux.
// Only the verbs travel on it; anything else it receives is ignored.
#pragma once

#include "app/trigger.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tallyra::app {

using TriggerReply = std::function<void(const TriggerAnswer&)>;
using TriggerHandler = std::function<void(TriggerVerb verb, TriggerReply reply, std::function<bool()> callerWaits)>;

// The running copy's end: calls reach the handler on the GUI thread while it lives.
class TriggerServer {
public:
    virtual ~TriggerServer() = default;
    // Runs the function on the GUI thread after so many milliseconds.
    virtual void after(int milliseconds, std::function<void()> function) = 0;
};

// Serves the calls for the program in this folder; null when another copy serves them
// or the channel cannot be made.
std::unique_ptr<TriggerServer> serveTriggers(const std::string& programFolder, TriggerHandler handler);

// The caller's end: the answer of the copy that runs for this folder; nothing when no
// copy runs there. A copy that does not take the call in time answers Failed.
std::optional<TriggerAnswer> callRunningCopy(const std::string& programFolder, TriggerVerb verb);

// Starts a copy of this program without arguments, in the background.
bool startCopy();
// Waits so many milliseconds.
void pauseFor(int milliseconds);

// Writes a line to the caller's standard output (Done) or error (the reason), as
// UTF-8 to a pipe or a file and as text to a console; the exit code.
int reportAnswer(const TriggerAnswer& answer);

// The caller's whole run: the running copy does the verb, or (pick) a copy is started
// for it first; nothing when the program should start itself (draw, none running).
std::optional<int> runTriggerCaller(const std::string& programFolder, TriggerVerb verb);

} // namespace tallyra::app
