#include "ui/main_window.h"

#include "storage/paths.h"
#include "storage/roster.h"
#include "storage/settings.h"
#include "ui/dpi.h"

namespace tallyra::ui {

using namespace main_units;

std::string mainWindowTitle(std::string_view className) {
    std::string title(kProductTitle);
    if (!className.empty()) title.append(" [").append(className).append("]");
    return title;
}

MainWindow::MainWindow(Toolkit& toolkit, RollCall& rollCall, Services services)
    : toolkit_(toolkit), rollCall_(rollCall), services_(std::move(services)) {}

WindowId MainWindow::open() {
    window_ = toolkit_.openWindow(kMainWindowDesign, *this);
    toolkit_.showWindow(window_, true);
    return window_;
}

void MainWindow::show() {
    toolkit_.showWindow(window_, true);
}

void MainWindow::showClassTitle(std::string_view className) {
    toolkit_.setText(window_, shared::kTitle, mainWindowTitle(className));
}

void MainWindow::clearDisplay() {
    toolkit_.setText(window_, kName, "");
    toolkit_.setText(window_, kNumber, "");
}

NativeWindow MainWindow::voiceReceiver() const {
    return toolkit_.nativeHandle(window_, kFeedbackLabel);
}

void MainWindow::onCreated(WindowId window) {
    window_ = window;
    runStartUp();
}

void MainWindow::runStartUp() {
    toolkit_.declareDpiAware();
    dpiScale_ = measureDpiScale(toolkit_, window_);
    placeWindow(toolkit_, window_, dpiScale_);
    if (needsRescaling(dpiScale_)) rescaleUnits(toolkit_, window_, kMainWindowDesign, dpiScale_);
    if (!toolkit_.isFontInstalled(kYaHei)) toolkit_.showMessage(kFontMissingWarning);
    if (const auto notice = settleDataFolder()) toolkit_.showMessage(notice->message());
    switch (settings::prepareFirstRun()) {
    case settings::FirstRun::NotFirst:
        break;
    case settings::FirstRun::Prepared:
        toolkit_.showMessage(kFirstRunNotice);
        break;
    case settings::FirstRun::WriteFailed:
        toolkit_.showMessage(kDataNotSaved);
        break;
    }
    if (services_.checkVoices) services_.checkVoices(toolkit_);
    const std::string className = settings::currentClass();
    rollCall_.loadRoster(readRoster(className));
    showClassTitle(className);
}

void MainWindow::onDestroying(WindowId) {
    toolkit_.quit(0);
}

void MainWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event == UnitEvent::Tick && unit == kRollTimer) {
        rollCall_.rollTick(*this);
    } else if (event != UnitEvent::Clicked) {
        return;
    } else if (unit == kStartStop) {
        rollCall_.pressStartStop(*this);
    } else if (unit == kSettingsButton) {
        toolkit_.showWindow(window_, false);
        if (services_.openSettings) services_.openSettings();
    } else if (unit == shared::kMinimiseButton) {
        toolkit_.minimiseWindow(window_);
    } else if (unit == shared::kCloseButton) {
        toolkit_.destroyWindow(window_);
    }
}

void MainWindow::onKey(WindowId, Key key, KeyAction action) {
    if (key == Key::Other) return;
    // A key acts on its release, once per press, and only when it also went down
    // here: a key held down never answers the box that its own press opened, and
    // the release of the Enter that answered a box starts nothing.
    if (action == KeyAction::Pressed) {
        keysDown_.insert(key);
    } else if (action == KeyAction::Released && keysDown_.erase(key) > 0) {
        rollCall_.pressStartStop(*this); // the same path as a click on Start/Stop
    }
}

std::string MainWindow::numberText() const {
    return toolkit_.text(window_, kNumber);
}
void MainWindow::setNumberText(std::string_view text) {
    toolkit_.setText(window_, kNumber, text);
}
std::string MainWindow::nameText() const {
    return toolkit_.text(window_, kName);
}
void MainWindow::setNameText(std::string_view text) {
    toolkit_.setText(window_, kName, text);
}
void MainWindow::setNumberFontSize(int points) {
    toolkit_.setFontSize(window_, kNumber, points);
}
void MainWindow::setCaption(std::string_view caption) {
    toolkit_.setText(window_, kStartStop, caption);
}

void MainWindow::setTimerInterval(int milliseconds) {
    if (milliseconds == timerInterval_) return;
    timerInterval_ = milliseconds;
    toolkit_.setTimerInterval(window_, kRollTimer, milliseconds);
}

MessageAnswer MainWindow::showMessage(const Message& message) {
    return toolkit_.showMessage(message);
}

} // namespace tallyra::ui
