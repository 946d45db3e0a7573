// What the running copy does when another program calls it: "draw" is one step of
// the hot key's cycle; "pick" is a whole draw (a roll of about a second, settled,
// announced and counted as any draw) whose student goes back to the caller.
#pragma once

#include "app/trigger.h"
#include "ui/windows/window_set.h"

#include <functional>
#include <optional>
#include <string>

namespace tallyra::app {

class RemoteDraw {
public:
    using Reply = std::function<void(const TriggerAnswer&)>;
    // Runs the function on the GUI thread after so many milliseconds.
    using After = std::function<void(int milliseconds, std::function<void()>)>;

    RemoteDraw(ui::WindowSet& windows, After after);

    // A call: reply is called once, maybe later; callerWaits says whether the caller
    // still waits for it.
    void handle(TriggerVerb verb, Reply reply, std::function<bool()> callerWaits);
    // A settled pick is kept: a pick under way answers with it now, before any failure is told.
    void settled(const SettledPick& pick);

private:
    std::optional<TriggerAnswer> refusal(TriggerVerb verb) const;
    void startPick();
    void settlePick();
    void finish(const TriggerAnswer& answer);
    void step();

    ui::WindowSet& windows_;
    After after_;
    Reply reply_; // the pick under way
    std::function<bool()> callerWaits_;
};

} // namespace tallyra::app
