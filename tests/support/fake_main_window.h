// The main window as the roll call sees it: two labels, the number's font size,
// the Start/Stop caption, the timer and the message boxes, all recorded.
#pragma once

#include "draw/roll_call.h"

#include <string>
#include <vector>

namespace tallyra::testing {

class FakeMainWindow : public RollCallView {
public:
    std::string numberText() const override { return number; }
    void setNumberText(std::string_view text) override { number = text; }
    std::string nameText() const override { return name; }
    void setNameText(std::string_view text) override { name = text; }
    void setNumberFontSize(int points) override { fontSize = points; }
    void setCaption(std::string_view text) override { buttonCaption = text; }
    void setTimerInterval(int milliseconds) override { interval = milliseconds; }
    MessageAnswer showMessage(const Message& message) override {
        shown.push_back(message);
        return answer;
    }

    bool rolling() const { return buttonCaption != kStartCaption; }

    std::string number;
    std::string name;
    int fontSize = 90; // the label's initial size
    std::string buttonCaption{kStartCaption};
    int interval = 0;
    std::vector<Message> shown;
    MessageAnswer answer = MessageAnswer::Yes; // to the round-end question
};

} // namespace tallyra::testing
