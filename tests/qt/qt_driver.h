// The window driver of the Qt backend: real mouse and key events on the units'
// widgets (QTest), and the boxes answered by pressing their buttons from the
// backend's modal hook.
#pragma once

#include "tests/ui/window_driver.h"
#include "ui/qt/qt_toolkit.h"

#include <deque>

namespace tallyra::ui::testing {

class QtDriver : public WindowDriver {
public:
    QtDriver();

    Toolkit& toolkit() override { return toolkit_; }
    void click(WindowId window, std::string_view unit) override;
    void pressLink(WindowId window, std::string_view unit) override;
    void choose(WindowId window, std::string_view unit, int index) override;
    void type(WindowId window, std::string_view unit, std::string_view text) override;
    void pressKey(WindowId window, Key key) override;
    void answerNextMessage(MessageAnswer answer) override { messageAnswers_.push_back(answer); }
    void answerNextInput(std::optional<std::string> text) override { inputAnswers_.push_back(std::move(text)); }
    std::vector<ShownMessage> shownMessages() const override { return messages_; }
    std::vector<std::string> askedInputs() const override { return inputs_; }
    bool runTimerUntil(WindowId window, std::string_view timer, const std::function<bool()>& condition) override;

private:
    QWidget& widget(WindowId window, std::string_view unit);
    void answer(QDialog& box);

    qt::QtToolkit toolkit_;
    std::deque<MessageAnswer> messageAnswers_;
    std::deque<std::optional<std::string>> inputAnswers_;
    std::vector<ShownMessage> messages_;
    std::vector<std::string> inputs_;
};

} // namespace tallyra::ui::testing
