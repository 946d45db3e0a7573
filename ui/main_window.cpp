#include "ui/main_window.h"

#include "storage/roster.h"
#include "storage/settings.h"
#include "ui/dpi.h"

namespace tallyra::ui {
namespace {

constexpr std::string_view kTitle = "Tallyra";
constexpr std::string_view kNumber = "学号";
constexpr std::string_view kName = "姓名";
constexpr std::string_view kStartStop = "开始按钮";
constexpr std::string_view kSettingsButton = "其他";
constexpr std::string_view kMinimise = "按钮_最小化";
constexpr std::string_view kClose = "按钮_关闭";
constexpr std::string_view kTimer = "时钟1";

} // namespace

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
    toolkit_.setText(window_, kTitle, mainWindowTitle(className));
}

void MainWindow::clearDisplay() {
    toolkit_.setText(window_, kName, "");
    toolkit_.setText(window_, kNumber, "");
}

void MainWindow::onCreated(WindowId window) {
    window_ = window;
    runStartUp();
}

void MainWindow::runStartUp() {
    toolkit_.declareDpiAware();
    const float scale = measureDpiScale(toolkit_, window_);
    if (needsRescaling(scale)) rescaleUnits();
    if (!toolkit_.isFontInstalled(kYaHei)) toolkit_.showMessage(kFontMissingWarning);
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

void MainWindow::rescaleUnits() {
    rescaleLabel(toolkit_, window_, kTitle, 11);
    rescaleShapeBox(toolkit_, window_, "外形框1");
    rescaleImageButton(toolkit_, window_, kMinimise, 11);
    rescaleImageButton(toolkit_, window_, kClose, 15);
    rescaleImageButton(toolkit_, window_, kStartStop, 18);
    rescaleImageButton(toolkit_, window_, kSettingsButton, 18);
    rescalePictureBox(toolkit_, window_, "按钮1");
    rescalePictureBox(toolkit_, window_, "按钮2");
    // The display labels keep their design fonts; the roll call sizes the number.
    rescaleLabel(toolkit_, window_, kName);
    rescaleLabel(toolkit_, window_, kNumber);
}

void MainWindow::onDestroying(WindowId) {
    toolkit_.quit(0);
}

void MainWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event == UnitEvent::Tick && unit == kTimer) {
        rollCall_.rollTick(*this);
    } else if (event != UnitEvent::Clicked) {
        return;
    } else if (unit == kStartStop) {
        rollCall_.pressStartStop(*this);
    } else if (unit == kSettingsButton) {
        toolkit_.showWindow(window_, false);
        if (services_.openSettings) services_.openSettings();
    } else if (unit == kMinimise) {
        toolkit_.minimiseWindow(window_);
    } else if (unit == kClose) {
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
std::string MainWindow::caption() const {
    return toolkit_.text(window_, kStartStop);
}
void MainWindow::setCaption(std::string_view caption) {
    toolkit_.setText(window_, kStartStop, caption);
}

void MainWindow::setTimerInterval(int milliseconds) {
    if (milliseconds == timerInterval_) return;
    timerInterval_ = milliseconds;
    toolkit_.setTimerInterval(window_, kTimer, milliseconds);
}

MessageAnswer MainWindow::showMessage(const Message& message) {
    return toolkit_.showMessage(message);
}

} // namespace tallyra::ui
