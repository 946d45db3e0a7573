#include "ui/windows/main_window.h"

#include "draw/round_keeper.h"
#include "storage/settings.h"
#include "ui/kit/dpi.h"

namespace tallyra::ui {

using namespace main_units;

std::string mainWindowTitle(std::string_view className) {
    std::string title(kProductTitle);
    if (!className.empty()) title.append(" [").append(className).append("]");
    return title;
}

std::string mainWindowTitle(const std::optional<std::string>& titleClass) {
    if (!titleClass) return std::string(kProductTitle);
    return std::string(kProductTitle).append(" [").append(*titleClass).append("]");
}

MainWindow::MainWindow(Toolkit& toolkit, ClassSession& session, Services services)
    : toolkit_(toolkit), session_(session), rollCall_(session.rollCall()), data_(session.data()),
      services_(std::move(services)) {
    addOwnMenuItems();
}

void MainWindow::addOwnMenuItems() {
    menu_.add([this] { return std::string(fullScreen_ ? "退出全屏\tEsc" : "全屏显示\tF11"); },
              [this] { setFullScreen(!fullScreen_); });
    menu_.add([this] { return hotKeyMenuText(); }, [this] { askForHotKey(); }, {},
              [this] { return hotKeyState_ != HotKeyState::Unsupported; });
}

std::string MainWindow::hotKeyMenuText() const {
    const std::string name = hotKeyName(hotKey_);
    switch (hotKeyState_) {
    case HotKeyState::On:
        return "更换全局热键（当前 " + name + "）…";
    case HotKeyState::Taken:
        return "更换全局热键（" + name + " 已被其他程序占用）…";
    case HotKeyState::Unsupported:
        break;
    }
    return "全局热键不可用：此桌面会话不允许程序注册热键（如 Wayland）";
}

void MainWindow::startHotKey() {
    if (const auto saved = parseHotKey(settings::hotKey(data_)); saved && !isForbiddenHotKey(*saved)) hotKey_ = *saved;
    hotKeyState_ = toolkit_.setHotKey(window_, hotKey_);
    if (hotKeyState_ == HotKeyState::Taken) {
        const std::string text =
            "全局热键 " + hotKeyName(hotKey_) + " 已被其他程序占用，本次不能用它抽取。可在主窗口的右键菜单中更换热键。";
        toolkit_.showMessage({kHotKeyUnavailable, text, kWarningOk});
    }
}

void MainWindow::askForHotKey() {
    if (askingHotKey_) return;
    askingHotKey_ = true;
    toolkit_.setText(window_, shared::kTitle, kHotKeyPrompt);
}

void MainWindow::endHotKeyPrompt() {
    if (!askingHotKey_) return;
    askingHotKey_ = false;
    toolkit_.setText(window_, shared::kTitle, mainWindowTitle(session_.titleClass()));
}

namespace {

// Counts a menu or box that waits for the teacher while it is open.
class Waiting {
public:
    explicit Waiting(int& count) : count_(++count) {}
    ~Waiting() { --count_; }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;

private:
    int& count_;
};

} // namespace

bool MainWindow::onKeyStroke(WindowId, HotKey stroke) {
    if (!askingHotKey_) return false;
    if (isModifierKey(stroke.key)) return true; // the key is still to come
    endHotKeyPrompt();
    const Waiting boxes(menuOrBoxOpen_);
    if (stroke != HotKey{0x1B}) takeHotKey(stroke); // Escape cancels
    return true;
}

void MainWindow::takeHotKey(HotKey stroke) {
    if (isForbiddenHotKey(stroke)) {
        toolkit_.showMessage(kHotKeyForbidden);
        return;
    }
    if (toolkit_.setHotKey(window_, stroke) != HotKeyState::On) {
        const std::string text = hotKeyName(stroke) + " 已被其他程序占用，请换一个键。";
        toolkit_.showMessage({kHotKeyUnavailable, text, kWarningOk});
        hotKeyState_ = toolkit_.setHotKey(window_, hotKey_); // the old key, if it is still free
        return;
    }
    hotKey_ = stroke;
    hotKeyState_ = HotKeyState::On;
    if (!settings::setHotKey(data_, hotKeyName(stroke))) toolkit_.showMessage(kDataNotSaved);
}

void MainWindow::pressStartStop(bool byRemote) {
    if (pressing_) return;
    pressing_ = true;
    pressByRemote_ = byRemote;
    rollCall_.pressStartStop(*this);
    pressing_ = false;
}

void MainWindow::onHotKey(WindowId) {
    // Not while the menu, a box or another window of ours waits for the teacher.
    if (pressing_ || askingHotKey_ || menuOrBoxOpen_ > 0 || !toolkit_.isWindowVisible(window_) ||
        (services_.anotherWindowOpen && services_.anotherWindowOpen()))
        return;
    if (!floating_) {
        floatAndRoll();
    } else if (isRolling()) {
        pressStartStop(true);
    } else {
        floating_ = false;
        toolkit_.floatWindow(window_, false);
    }
}

void MainWindow::floatAndRoll() {
    floating_ = true;
    toolkit_.floatWindow(window_, true);
    if (!isRolling()) pressStartStop(true);
}

void MainWindow::onMenuRequested(WindowId, std::optional<Point> at) {
    if (menu_.empty()) return;
    const Waiting menu(menuOrBoxOpen_); // its items' boxes too
    const std::vector<MenuItem> items = menu_.items();
    if (const std::optional<int> chosen = toolkit_.showMenu(window_, at, items))
        menu_.choose(static_cast<std::size_t>(*chosen));
}

namespace {

// The units full screen moves or hides; the title bar's units are hidden.
constexpr std::string_view kTitleBarUnits[] = {shared::kTitle, shared::kMinimiseButton, shared::kCloseButton};
constexpr std::string_view kMovedUnits[] = {shared::kContent, kNumber, kName, kStartStopFrame, kSettingsFrame};

} // namespace

void MainWindow::setFullScreen(bool on) {
    if (on == fullScreen_ || window_ == kNoWindow) return;
    endHotKeyPrompt();
    fullScreen_ = on;
    toolkit_.setVisible(window_, kRoundCount, !on); // it has no place on the projected screen
    toolkit_.setVisible(window_, kMenuButton, !on); // right click and the menu key still open the menu
    if (!on) {
        toolkit_.setWindowRect(window_, windowedRect_);
        for (const auto& [unit, rect] : windowedUnits_)
            toolkit_.setUnitRect(window_, unit, rect);
        for (std::string_view unit : kTitleBarUnits)
            toolkit_.setVisible(window_, unit, true);
        toolkit_.setTextFit(window_, kNumber, TextFit::Shrink);
        toolkit_.setTextFit(window_, kName, TextFit::Shrink);
        return;
    }
    windowedRect_ = toolkit_.windowRect(window_);
    for (std::string_view unit : kMovedUnits)
        windowedUnits_[unit] = toolkit_.unitRect(window_, unit);
    const Rect screen = toolkit_.monitorRect(window_);
    const int width = screen.width, height = screen.height;
    for (std::string_view unit : kTitleBarUnits)
        toolkit_.setVisible(window_, unit, false);
    toolkit_.setWindowRect(window_, screen);
    toolkit_.setUnitRect(window_, shared::kContent, {0, 0, width, height});
    // The buttons keep their size, side by side at the bottom; the number and the name
    // share the rest.
    const Rect startFrame = windowedUnits_[kStartStopFrame];
    const Rect settingsFrame = windowedUnits_[kSettingsFrame];
    const int margin = height / 30;
    const int buttonsTop = height - margin - startFrame.height;
    const int buttonsLeft = (width - (settingsFrame.left + settingsFrame.width - startFrame.left)) / 2;
    toolkit_.setUnitRect(window_, kStartStopFrame, {buttonsLeft, buttonsTop, startFrame.width, startFrame.height});
    toolkit_.setUnitRect(
        window_, kSettingsFrame,
        {buttonsLeft + settingsFrame.left - startFrame.left, buttonsTop, settingsFrame.width, settingsFrame.height});
    const int textHeight = buttonsTop - 2 * margin;
    const int numberHeight = textHeight * 9 / 20;
    toolkit_.setUnitRect(window_, kNumber, {margin, margin, width - 2 * margin, numberHeight});
    toolkit_.setUnitRect(window_, kName,
                         {margin, margin + numberHeight, width - 2 * margin, textHeight - numberHeight});
    toolkit_.setTextFit(window_, kNumber, TextFit::Fill);
    toolkit_.setTextFit(window_, kName, TextFit::Fill);
}

WindowId MainWindow::open(bool floating) {
    window_ = toolkit_.openWindow(kMainWindowDesign, *this);
    if (window_ == kNoWindow) return window_;
    // Floated before it is ever shown, it first appears without taking the focus.
    if (floating)
        floatAndRoll();
    else
        toolkit_.showWindow(window_, true);
    return window_;
}

void MainWindow::show() {
    showRoundCount();
    toolkit_.showWindow(window_, true);
}

void MainWindow::showRoundCount() {
    toolkit_.setText(window_, kRoundCount,
                     roundCountText(rollCall_, session_.record().waitingCount()));
}

void MainWindow::hideForWindow() {
    setFullScreen(false);
    endHotKeyPrompt();
    toolkit_.showWindow(window_, false);
}

void MainWindow::showCurrentClass(bool emptiesDisplay) {
    askingHotKey_ = false;
    toolkit_.setText(window_, shared::kTitle, mainWindowTitle(session_.titleClass()));
    if (emptiesDisplay) clearDisplay();
    showRoundCount();
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
    if (services_.dataFolderNotice) toolkit_.showMessage(*services_.dataFolderNotice);
    switch (settings::prepareFirstRun(data_)) {
    case settings::FirstRun::NotFirst:
        break;
    case settings::FirstRun::Prepared:
        toolkit_.showMessage(kFirstRunNotice);
        break;
    case settings::FirstRun::WriteFailed:
        toolkit_.showMessage(kFirstRunNotSaved);
        break;
    case settings::FirstRun::ReadFailed:
        toolkit_.showMessage(fileNotReadMessage(data_.settingsFile()));
        break;
    }
    if (services_.checkVoices) services_.checkVoices(toolkit_);
    session_.start();
    showCurrentClass(false);
    startHotKey();
}

void MainWindow::onDestroying(WindowId) {
    toolkit_.quit(0);
}

void MainWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event == UnitEvent::Tick && unit == kRollTimer) {
        rollCall_.rollTick(*this);
    } else if (event == UnitEvent::DoubleClicked && (unit == kNumber || unit == kName)) {
        setFullScreen(!fullScreen_);
    } else if (event != UnitEvent::Clicked) {
        return;
    } else if (unit == kStartStop) {
        pressStartStop(false);
    } else if (unit == kMenuButton) {
        // The menu opens below the button.
        const Rect window = toolkit_.windowRect(window_), content = toolkit_.unitRect(window_, shared::kContent),
                   button = toolkit_.unitRect(window_, kMenuButton);
        onMenuRequested(window_, Point{window.left + content.left + button.left,
                                       window.top + content.top + button.top + button.height});
    } else if (unit == kSettingsButton) {
        hideForWindow();
        if (services_.openSettings) services_.openSettings();
    } else if (unit == shared::kMinimiseButton) {
        toolkit_.minimiseWindow(window_);
    } else if (unit == shared::kCloseButton) {
        toolkit_.destroyWindow(window_);
    }
}

void MainWindow::onKey(WindowId, Key key, KeyAction action) {
    if (key == Key::Other) return;
    if (key == Key::F11 || key == Key::Escape) {
        if (action == KeyAction::Pressed && (key == Key::F11 || fullScreen_)) setFullScreen(!fullScreen_);
        return;
    }
    // A key acts on its release, once per press, and only when it also went down
    // here: a key held down never answers the box that its own press opened, and
    // the release of the Enter that answered a box starts nothing.
    if (action == KeyAction::Pressed) {
        keysDown_.insert(key);
    } else if (action == KeyAction::Released && keysDown_.erase(key) > 0) {
        pressStartStop(true); // the same path as a click on Start/Stop
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
    // The caption changes at every start and stop, and so does the round.
    showRoundCount();
}

void MainWindow::setTimerInterval(int milliseconds) {
    if (milliseconds == timerInterval_) return;
    timerInterval_ = milliseconds;
    toolkit_.setTimerInterval(window_, kRollTimer, milliseconds);
}

MessageAnswer MainWindow::showMessage(const Message& message) {
    // The round-end question of a roll driven from the keyboard, a remote or the hot
    // key: the remote answers it too.
    if (pressByRemote_ && (message.flags & 0x0F) == (kQuestionYesNo & 0x0F)) return toolkit_.askWithRemote(message);
    return toolkit_.showMessage(message);
}

} // namespace tallyra::ui
