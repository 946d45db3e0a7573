// The Qt backend of the window toolkit.
//
// How tests and automation find things:
// - Each of the program's windows is a frameless top-level widget whose window title is
//   the design's caption ("Tallyra", "关于", "更新日志"); `xwininfo -root -tree` lists it
//   under that name on X11.
// - Every unit's widget has the unit's name as its object name (QObject::objectName),
//   so QWidget::findChild finds it; QtToolkit::unitWidget does the same by window id.
// - Message boxes are QMessageBoxes (message_box.h) and the input box is a QDialog
//   with one QLineEdit (input_box.h), both modal to the application; a test answers
//   them through setModalHook.
#include "ui/qt/qt_toolkit.h"

#include "ui/qt/float_button.h"
#include "ui/qt/file_drop.h"
#include "ui/qt/fonts.h"
#include "ui/qt/global_hot_key.h"
#include "ui/qt/input_box.h"
#include "ui/qt/message_box.h"
#include "ui/qt/pictures.h"
#include "ui/qt/top_window.h"
#include "ui/qt/unit_timer.h"
#include "ui/qt/units.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>

#include <cmath>

namespace tallyra::ui::qt {
namespace {

constexpr std::string_view kUntitledMessage = "信息：";

QMessageBox::Icon iconOf(unsigned flags) {
    switch (messageIcon(flags)) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct BoxButton {
    const char* caption;
    QMessageBox::ButtonRole role;
    MessageAnswer answer;
};

// The buttons of a flag's button type, with the captions a Chinese system gives them.
std::vector<BoxButton> buttonsOf(unsigned flags) {
    switch (messageButtons(flags)) {
    case MessageButtons::OkCancel:
        return {{"确定", QMessageBox::AcceptRole, MessageAnswer::Ok},
                {"取消", QMessageBox::RejectRole, MessageAnswer::Cancel}};
    case MessageButtons::YesNo:
        return {{"是(&Y)", QMessageBox::YesRole, MessageAnswer::Yes},
                {"否(&N)", QMessageBox::NoRole, MessageAnswer::No}};
    default:
        return {{"确定", QMessageBox::AcceptRole, MessageAnswer::Ok}};
    }
}

// Closed without a button (Escape, the window manager): the answer that changes nothing.
MessageAnswer dismissedAnswer(unsigned flags) {
    switch (messageButtons(flags)) {
    case MessageButtons::OkCancel:
        return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

// Page Down presses the box's Yes, Page Up its No, as a presenter remote sends them.
// While a question that the remote answers is open (filtering the application's
// events): Page Down presses its Yes, Page Up its No. A key that was already down when
// it appeared, or a press in its first moment, answers nothing: a remote's double
// click, or Space pressed twice, must not answer a question nobody has read.
class RemoteAnswers : public QObject {
public:
    RemoteAnswers(QAbstractButton* yes, QAbstractButton* no) : yes_(yes), no_(no) { shown_.start(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int key = keyEvent->key();
        if (type == QEvent::KeyRelease) {
            if (keyEvent->isAutoRepeat()) return !pressed_.contains(key);
            return !pressed_.remove(key);
        }
        if (!pressed_.contains(key)) {
            if (keyEvent->isAutoRepeat() || shown_.elapsed() < kRemoteQuestionSettleMs) return true;
            if (type == QEvent::KeyPress) pressed_.insert(key);
        }
        if (type == QEvent::KeyPress && (key == Qt::Key_PageDown || key == Qt::Key_PageUp)) {
            (key == Qt::Key_PageDown ? yes_ : no_)->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractButton* yes_;
    QAbstractButton* no_;
    QElapsedTimer shown_;
    QSet<int> pressed_; // keys pressed since the question appeared and not yet released
};

} // namespace

QtToolkit::QtToolkit() = default;

QtToolkit::~QtToolkit() {
    // Windows still open when the program ends are closed without telling their handlers,
    // which may be gone already.
    const auto windows = windows_;
    windows_.clear();
    for (const auto& [id, window] : windows)
        if (window) delete window.data();
}

TopWindow* QtToolkit::topWindow(WindowId window) const {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.data();
}

Unit* QtToolkit::findUnit(WindowId window, std::string_view unit) const {
    TopWindow* top = topWindow(window);
    return top ? top->find(unit) : nullptr;
}

QWidget* QtToolkit::unitWidget(WindowId window, std::string_view unit) const {
    const Unit* found = findUnit(window, unit);
    return found ? found->widget : nullptr;
}

QListWidget* QtToolkit::checkList(WindowId window, std::string_view unit) const {
    const Unit* found = findUnit(window, unit);
    return found && found->kind() == UnitKind::CheckList ? static_cast<QListWidget*>(found->widget) : nullptr;
}

QComboBox* QtToolkit::combo(WindowId window, std::string_view unit) const {
    const Unit* found = findUnit(window, unit);
    return found && found->kind() == UnitKind::ComboBox ? static_cast<QComboBox*>(found->widget) : nullptr;
}

void QtToolkit::forget(WindowId window) {
    windows_.erase(window);
}

int QtToolkit::runModal(QDialog& box) {
    if (modalHook_) {
        // Runs once the box's own loop is running, as a user's press would.
        QTimer::singleShot(0, &box, [this, &box] { modalHook_(box); });
    }
    return box.exec();
}

MessageAnswer QtToolkit::showMessage(const Message& message) {
    return showBox(message, false);
}

MessageAnswer QtToolkit::askWithRemote(const Message& question) {
    return showBox(question, true);
}

bool QtToolkit::anyFloating() const {
    for (const auto& [id, window] : windows_)
        if (window && window->isFloating()) return true;
    return false;
}

HotKeyState QtToolkit::setHotKey(WindowId window, HotKey key) {
    if (!hotKey_)
        hotKey_ = std::make_unique<GlobalHotKey>([this] {
            if (TopWindow* top = topWindow(hotKeyWindow_)) top->notifyHotKey();
        });
    hotKeyWindow_ = window;
    return hotKey_->set(key);
}

std::unique_ptr<FloatButton> QtToolkit::createFloatButton(const FloatButtonOptions& options,
                                                          FloatButtonEvents& events) {
    return std::make_unique<QtFloatButton>(options, events);
}

std::string QtToolkit::floatButtonRemark() const {
    // A Wayland client can neither place itself nor stay above others.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return "（Wayland 下为普通小窗口，不能总在最前）";
    return {};
}

bool QtToolkit::isWaitingForAnswer() const {
    return QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr;
}

void QtToolkit::floatWindow(WindowId window, bool floating) {
    if (TopWindow* top = topWindow(window)) top->setFloating(floating);
}

MessageAnswer QtToolkit::showBox(const Message& message, bool remote) {
    MessageBox box;
    box.setWindowTitle(toQString(message.title.empty() ? kUntitledMessage : message.title));
    // Plain text: class names and roster entries must show as typed, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(toQString(message.text));
    box.setIcon(iconOf(message.flags));
    box.setWindowModality(Qt::ApplicationModal);
    std::vector<std::pair<QAbstractButton*, MessageAnswer>> answers;
    for (const BoxButton& button : buttonsOf(message.flags))
        answers.emplace_back(box.addButton(QString::fromUtf8(button.caption), button.role), button.answer);
    const bool secondIsDefault = (message.flags & kSecondButtonDefault) && answers.size() > 1;
    box.setDefaultButton(static_cast<QPushButton*>(answers[secondIsDefault ? 1 : 0].first));
    box.setEscapeButton(answers.back().first);
    RemoteAnswers remoteAnswers(answers.front().first, answers.back().first);
    if (remote && answers.size() == 2) qApp->installEventFilter(&remoteAnswers);
    // Over a slide show the box comes on top of it, and of the floating window: that one is
    // outside the window manager's stacking, so the box has to be too.
    if (anyFloating()) box.setWindowFlags(box.windowFlags() | Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint);
    runModal(box);
    qApp->removeEventFilter(&remoteAnswers);
    for (const auto& [button, answer] : answers)
        if (box.clickedButton() == button) return answer;
    return dismissedAnswer(message.flags);
}

std::optional<std::string> QtToolkit::askText(std::string_view prompt, std::string_view title,
                                              std::string_view proposed) {
    InputBox box(toQString(prompt), toQString(title), toQString(proposed));
    if (runModal(box) != QDialog::Accepted) return std::nullopt;
    return toUtf8(box.text());
}

std::optional<std::string> QtToolkit::askOpenFile(std::string_view title, std::string_view filterName,
                                                  std::string_view patterns) {
    QFileDialog dialog(nullptr, toQString(title));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(toQString(filterName) + " (" + toQString(patterns).replace(';', ' ') + ")");
    if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return toUtf8(dialog.selectedFiles().front());
}

void QtToolkit::setClipboardText(std::string_view text) {
    QGuiApplication::clipboard()->setText(toQString(text));
}

void QtToolkit::acceptFileDrops(WindowId window, std::string_view unit) {
    const Unit* found = findUnit(window, unit);
    if (!found || !found->widget) return;
    QPointer<TopWindow> top = topWindow(window);
    new FileDropFilter(found->widget, [top, name = std::string(unit)](const std::string& path) {
        if (top) top->notifyFileDropped(name, path);
    });
}

WindowId QtToolkit::openWindow(const WindowDesign& design, WindowEvents& events) {
    const WindowId id = nextId_++;
    auto* window = new TopWindow(*this, id, design, events);
    windows_[id] = window;
    window->build();
    events.onCreated(id);
    return id;
}

void QtToolkit::showWindow(WindowId window, bool visible) {
    if (TopWindow* top = topWindow(window)) {
        top->setVisible(visible);
        if (visible) {
            top->raise();
            top->activateWindow();
        }
    }
}

bool QtToolkit::isWindowVisible(WindowId window) const {
    const TopWindow* top = topWindow(window);
    return top && top->isVisible();
}

void QtToolkit::minimiseWindow(WindowId window) {
    if (TopWindow* top = topWindow(window)) top->showMinimized();
}

void QtToolkit::destroyWindow(WindowId window) {
    if (TopWindow* top = topWindow(window)) top->destroyWindow();
}

Rect QtToolkit::windowRect(WindowId window) const {
    const TopWindow* top = topWindow(window);
    if (!top) return {};
    const QRect frame = top->frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void QtToolkit::setWindowRect(WindowId window, Rect rect) {
    if (TopWindow* top = topWindow(window)) {
        top->setFixedSize(rect.width, rect.height);
        top->move(rect.left, rect.top);
    }
}

Rect QtToolkit::unitRect(WindowId window, std::string_view unit) const {
    const Unit* found = findUnit(window, unit);
    return found ? found->rect : Rect{};
}

void QtToolkit::setUnitRect(WindowId window, std::string_view unit, Rect rect) {
    if (Unit* found = findUnit(window, unit)) qt::setUnitRect(*found, rect);
}

std::string QtToolkit::text(WindowId window, std::string_view unit) const {
    const Unit* found = findUnit(window, unit);
    return found ? unitText(*found) : std::string();
}

void QtToolkit::setText(WindowId window, std::string_view unit, std::string_view text) {
    if (Unit* found = findUnit(window, unit)) setUnitText(*found, text);
}

// A text block is one line of the handlers' text: wrapping does not make blocks.
void QtToolkit::selectLine(WindowId window, std::string_view unit, std::size_t line) {
    Unit* found = findUnit(window, unit);
    auto* edit = found ? qobject_cast<QPlainTextEdit*>(found->widget) : nullptr;
    if (!edit) return;
    const QTextBlock block = edit->document()->findBlockByNumber(static_cast<int>(line));
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
    edit->setFocus();
}

void QtToolkit::setFontSize(WindowId window, std::string_view unit, int points) {
    Unit* found = findUnit(window, unit);
    if (!found) return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double pixelsPerInch = screen ? screen->logicalDotsPerInchY() : 96.0;
    setUnitCharHeight(*found, static_cast<int>(std::lround(points * pixelsPerInch / 72.0)));
}

void QtToolkit::setVisible(WindowId window, std::string_view unit, bool visible) {
    Unit* found = findUnit(window, unit);
    if (found && found->widget) found->widget->setVisible(visible);
}

void QtToolkit::setTextFit(WindowId window, std::string_view unit, TextFit fit) {
    Unit* found = findUnit(window, unit);
    if (found && found->kind() == UnitKind::Label && found->widget)
        static_cast<DrawnUnit*>(found->widget)->setTextFit(fit);
}

void QtToolkit::fitLinesTogether(WindowId window, std::span<const std::string_view> labels,
                                 std::span<const std::string> lines) {
    Unit* first = labels.empty() ? nullptr : findUnit(window, labels.front());
    if (!first || first->kind() != UnitKind::Label || !first->widget) return;
    QStringList texts;
    for (const std::string& line : lines)
        texts.push_back(toQString(line));
    const int height = static_cast<DrawnUnit*>(first->widget)->fillHeightOfAll(texts);
    for (const std::string_view label : labels) {
        Unit* found = findUnit(window, label);
        if (!found || found->kind() != UnitKind::Label || !found->widget) continue;
        static_cast<DrawnUnit*>(found->widget)->setTextFit(TextFit::None);
        setUnitCharHeight(*found, height);
    }
}

Rect QtToolkit::monitorRect(WindowId window) const {
    const TopWindow* top = topWindow(window);
    const QScreen* screen = top && top->screen() ? top->screen() : QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QRect area = screen->geometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

std::optional<int> QtToolkit::showMenu(WindowId window, std::optional<Point> at, std::span<const MenuItem> items) {
    TopWindow* top = topWindow(window);
    if (!top || items.empty()) return std::nullopt;
    QMenu menu(top);
    std::vector<QAction*> actions;
    for (const MenuItem& item : items) {
        // The text after a tab shows as the item's key, right-aligned, as in a Windows menu.
        QAction* action = menu.addAction(toQString(item.text));
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        action->setEnabled(item.enabled);
        actions.push_back(action);
    }
    if (menuHook_) QTimer::singleShot(0, &menu, [this, &menu] { menuHook_(menu); });
    const QPoint point = at ? QPoint(at->x, at->y) : top->mapToGlobal(QPoint(32, 32));
    const QAction* chosen = menu.exec(point);
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (actions[i] == chosen) return static_cast<int>(i);
    return std::nullopt;
}

void QtToolkit::setTimerInterval(WindowId window, std::string_view unit, int milliseconds) {
    Unit* found = findUnit(window, unit);
    if (!found || !found->timer) return;
    found->timer->start(milliseconds);
}

void QtToolkit::clearItems(WindowId window, std::string_view unit) {
    if (QComboBox* box = combo(window, unit)) box->clear();
    if (QListWidget* list = checkList(window, unit)) list->clear();
}

void QtToolkit::addItem(WindowId window, std::string_view unit, std::string_view text) {
    if (QComboBox* box = combo(window, unit)) {
        // Adding the first item does not select it, as on Windows.
        const int selected = box->currentIndex();
        box->addItem(toQString(text));
        box->setCurrentIndex(selected);
    }
    if (QListWidget* list = checkList(window, unit)) {
        auto* item = new QListWidgetItem(toQString(text), list);
        item->setFlags(Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
    }
}

void QtToolkit::removeItem(WindowId window, std::string_view unit, int index) {
    if (QComboBox* box = combo(window, unit)) box->removeItem(index);
}

int QtToolkit::itemCount(WindowId window, std::string_view unit) const {
    if (const QListWidget* list = checkList(window, unit)) return list->count();
    const QComboBox* box = combo(window, unit);
    return box ? box->count() : 0;
}

std::string QtToolkit::itemText(WindowId window, std::string_view unit, int index) const {
    if (const QListWidget* list = checkList(window, unit))
        return index >= 0 && index < list->count() ? toUtf8(list->item(index)->text()) : std::string();
    const QComboBox* box = combo(window, unit);
    return box && index >= 0 && index < box->count() ? toUtf8(box->itemText(index)) : std::string();
}

void QtToolkit::setItemText(WindowId window, std::string_view unit, int index, std::string_view text) {
    QComboBox* box = combo(window, unit);
    if (box && index >= 0 && index < box->count()) box->setItemText(index, toQString(text));
}

int QtToolkit::selection(WindowId window, std::string_view unit) const {
    const QComboBox* box = combo(window, unit);
    return box ? box->currentIndex() : -1;
}

void QtToolkit::setSelection(WindowId window, std::string_view unit, int index) {
    // setCurrentIndex raises currentIndexChanged only, never activated: no item-chosen event.
    if (QComboBox* box = combo(window, unit)) box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

void QtToolkit::setChecked(WindowId window, std::string_view unit, bool checked) {
    TopWindow* top = topWindow(window);
    Unit* found = top ? top->find(unit) : nullptr;
    if (found) top->checkRadio(*found, checked);
}

bool QtToolkit::isChecked(WindowId window, std::string_view unit) const {
    const Unit* found = findUnit(window, unit);
    return found && found->kind() == UnitKind::RadioBox && found->widget &&
           static_cast<const QAbstractButton*>(found->widget)->isChecked();
}

void QtToolkit::setItemChecked(WindowId window, std::string_view unit, int index, bool checked) {
    QListWidget* list = checkList(window, unit);
    if (list && index >= 0 && index < list->count()) list->item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool QtToolkit::isItemChecked(WindowId window, std::string_view unit, int index) const {
    const QListWidget* list = checkList(window, unit);
    return list && index >= 0 && index < list->count() && list->item(index)->checkState() == Qt::Checked;
}

void QtToolkit::declareDpiAware() {
    // Done before the application object existed (prepareApplication): Qt scales nothing.
}

int QtToolkit::horizontalPixelsPerInch(WindowId window) const {
    const TopWindow* top = topWindow(window);
    const QScreen* screen = top && top->screen() ? top->screen() : QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 96;
}

Size QtToolkit::screenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QRect area = screen->geometry();
    return {area.width(), area.height()};
}

bool QtToolkit::isFontInstalled(std::string_view face) const {
    const QString family = toQString(face);
    if (isFamilyInstalled(family)) return true;
    // The Chinese face stands in for 微软雅黑 (fonts.h): text set in it shows as meant.
    return face == kYaHei && !chineseFace().isEmpty();
}

bool QtToolkit::openInBrowser(std::string_view address) {
    return QDesktopServices::openUrl(QUrl(toQString(address)));
}

bool QtToolkit::openFile(std::string_view path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(toQString(path)));
}

void QtToolkit::quit(int exitCode) {
    QCoreApplication::exit(exitCode);
}

NativeWindow QtToolkit::nativeHandle(WindowId window, std::string_view unit) const {
    return reinterpret_cast<NativeWindow>(unitWidget(window, unit));
}

void prepareApplication() {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

void setUpApplication() {
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(applicationIcon());
    if (const QString& face = chineseFace(); !face.isEmpty()) {
        QFont font = QApplication::font();
        font.setFamily(face);
        QApplication::setFont(font);
    }
}

} // namespace tallyra::ui::qt
