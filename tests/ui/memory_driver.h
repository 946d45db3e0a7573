// The window driver of the in-memory toolkit: events raised straight on the
// records, answers taken from the toolkit's queues.
#pragma once

#include "tests/ui/memory_toolkit.h"
#include "tests/ui/window_driver.h"

namespace tallyra::ui::testing {

class MemoryDriver : public WindowDriver {
public:
    Toolkit& toolkit() override { return toolkit_; }
    void click(WindowId window, std::string_view unit) override { toolkit_.click(window, unit); }
    void pressLink(WindowId window, std::string_view unit) override { toolkit_.pressLink(window, unit); }
    void choose(WindowId window, std::string_view unit, int index) override { toolkit_.choose(window, unit, index); }
    void type(WindowId window, std::string_view unit, std::string_view text) override {
        toolkit_.setText(window, unit, text);
    }
    void pressKey(WindowId window, Key key) override {
        toolkit_.key(window, key, KeyAction::Pressed);
        toolkit_.key(window, key, KeyAction::Released);
    }
    void answerNextMessage(MessageAnswer answer) override { toolkit_.answers.push_back(answer); }
    void answerNextInput(std::optional<std::string> text) override { toolkit_.inputs.push_back(std::move(text)); }
    std::vector<ShownMessage> shownMessages() const override {
        std::vector<ShownMessage> messages;
        for (const Message& message : toolkit_.messages)
            messages.push_back(shown(message));
        return messages;
    }
    std::vector<std::string> askedInputs() const override {
        std::vector<std::string> titles;
        for (const std::string& entry : toolkit_.log)
            if (entry.starts_with("ask:")) titles.push_back(entry.substr(4));
        return titles;
    }
    bool runTimerUntil(WindowId window, std::string_view timer, const std::function<bool()>& condition) override {
        for (int tick = 0; tick < 1000 && !condition(); ++tick)
            if (!toolkit_.tick(window, timer)) break;
        return condition();
    }

private:
    MemoryToolkit toolkit_;
};

} // namespace tallyra::ui::testing
