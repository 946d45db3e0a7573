// One way to drive the windows as a user does, whatever toolkit draws them: click a
// unit, press a link, pick a combo item, type into a box, answer the boxes to come,
// and read what shows. The in-memory toolkit has one driver, the Qt backend another
// (tests/qt/), so the same scenarios prove both.
#pragma once

#include "ui/kit/toolkit.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallyra::ui::testing {

// A message box as it showed: its title, text and flags (icon and buttons).
struct ShownMessage {
    std::string title, text;
    unsigned flags = 0;
    friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

inline ShownMessage shown(const Message& message) {
    return {std::string(message.title), std::string(message.text), message.flags};
}

class WindowDriver {
public:
    virtual ~WindowDriver() = default;
    virtual Toolkit& toolkit() = 0;

    // An image button or radio box: left button pressed and released on it.
    virtual void click(WindowId window, std::string_view unit) = 0;
    // A hyperlink: left button pressed (and released) on it.
    virtual void pressLink(WindowId window, std::string_view unit) = 0;
    // Picks the item at index from the combo box's dropped list.
    virtual void choose(WindowId window, std::string_view unit, int index) = 0;
    // Replaces an edit box's text as typed; line breaks as CR LF.
    virtual void type(WindowId window, std::string_view unit, std::string_view text) = 0;
    // A key pressed and released while the window is the active one.
    virtual void pressKey(WindowId window, Key key) = 0;

    // Answers for the boxes still to come, in order; a box without an answer waiting
    // gets OK (input boxes: Cancel).
    virtual void answerNextMessage(MessageAnswer answer) = 0;
    virtual void answerNextInput(std::optional<std::string> text) = 0;
    // The message boxes shown so far, and the titles of the input boxes.
    virtual std::vector<ShownMessage> shownMessages() const = 0;
    virtual std::vector<std::string> askedInputs() const = 0;

    // Lets the timer run until the condition holds; false when it never does.
    virtual bool runTimerUntil(WindowId window, std::string_view timer, const std::function<bool()>& condition) = 0;

    std::string text(WindowId window, std::string_view unit) { return toolkit().text(window, unit); }
};

// How an executable makes the driver of its toolkit for each scenario.
struct DriverKind {
    const char* name;
    std::function<std::unique_ptr<WindowDriver>()> make;
};

} // namespace tallyra::ui::testing
