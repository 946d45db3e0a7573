#include "tests/qt/qt_driver.h"

#include "ui/qt/top_window.h"
#include "ui/qt/units.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

namespace tallyra::ui::testing {
namespace {

constexpr int kWaitMilliseconds = 5000;

unsigned iconFlags(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Critical:
        return 0x10;
    case QMessageBox::Question:
        return 0x20;
    case QMessageBox::Warning:
        return 0x30;
    case QMessageBox::Information:
        return 0x40;
    default:
        return 0;
    }
}

// The flags a box's icon and button captions stand for.
unsigned flagsOf(const QMessageBox& box) {
    QStringList captions;
    for (const QAbstractButton* button : box.buttons())
        captions << button->text();
    captions.sort();
    unsigned buttons = 0xF; // not a set any flag gives
    if (captions == QStringList{QStringLiteral("确定")}) buttons = 0x0;
    if (captions == QStringList{QStringLiteral("取消"), QStringLiteral("确定")}) buttons = 0x1;
    if (captions == QStringList{QStringLiteral("否(&N)"), QStringLiteral("是(&Y)")}) buttons = 0x4;
    const QAbstractButton* defaultButton = box.defaultButton();
    const bool secondIsDefault =
        box.buttons().size() > 1 && defaultButton &&
        (defaultButton->text() == QStringLiteral("取消") || defaultButton->text() == QStringLiteral("否(&N)"));
    return iconFlags(box.icon()) | buttons | (secondIsDefault ? kSecondButtonDefault : 0u);
}

const char* captionOf(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Cancel:
        return "取消";
    case MessageAnswer::Yes:
        return "是(&Y)";
    case MessageAnswer::No:
        return "否(&N)";
    default:
        return "确定";
    }
}

QAbstractButton* buttonCaptioned(QDialog& box, const QString& caption) {
    for (QAbstractButton* button : box.findChildren<QAbstractButton*>())
        if (button->text() == caption && button->isVisible()) return button;
    return nullptr;
}

// Types as a user does: ASCII on the keyboard, Chinese through the input method.
void typeText(QWidget* widget, const QString& text) {
    QString composed;
    const auto commit = [&] {
        if (composed.isEmpty()) return;
        QInputMethodEvent event;
        event.setCommitString(composed);
        QCoreApplication::sendEvent(widget, &event);
        composed.clear();
    };
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            commit();
            QTest::keyClick(widget, static_cast<char>(c.unicode()));
        } else {
            composed += c;
        }
    }
    commit();
}

// Waits for pending events (deferred deletions included) without a fixed sleep.
void settle() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

QtDriver::QtDriver() {
    toolkit_.setModalHook([this](QDialog& box) { answer(box); });
}

QWidget& QtDriver::widget(WindowId window, std::string_view unit) {
    QWidget* found = toolkit_.unitWidget(window, unit);
    if (!found) throw std::out_of_range("no widget for unit " + std::string(unit));
    if (!found->isVisible()) throw std::logic_error("unit " + std::string(unit) + " is not visible");
    return *found;
}

void QtDriver::answer(QDialog& box) {
    QAbstractButton* pressed = nullptr;
    if (auto* message = qobject_cast<QMessageBox*>(&box)) {
        messages_.push_back({qt::toUtf8(message->windowTitle()), qt::toUtf8(message->text()), flagsOf(*message)});
        MessageAnswer wanted = MessageAnswer::Ok;
        if (!messageAnswers_.empty()) {
            wanted = messageAnswers_.front();
            messageAnswers_.pop_front();
        }
        pressed = buttonCaptioned(box, QString::fromUtf8(captionOf(wanted)));
    } else if (auto* field = box.findChild<QLineEdit*>()) { // the input box
        inputs_.push_back(qt::toUtf8(box.windowTitle()));
        std::optional<std::string> wanted;
        if (!inputAnswers_.empty()) {
            wanted = inputAnswers_.front();
            inputAnswers_.pop_front();
        }
        if (wanted) {
            typeText(field, qt::toQString(*wanted));
            pressed = buttonCaptioned(box, QStringLiteral("确定"));
        } else {
            pressed = buttonCaptioned(box, QStringLiteral("取消"));
        }
    }
    if (pressed)
        QTest::mouseClick(pressed, Qt::LeftButton);
    else
        box.reject(); // a box this driver does not know: the test's expectations will tell
}

void QtDriver::click(WindowId window, std::string_view unit) {
    QWidget& target = widget(window, unit);
    // The pointer comes onto the unit first, as a user's does.
    QTest::mouseMove(&target, target.rect().center());
    QTest::mouseClick(&target, Qt::LeftButton, {}, target.rect().center());
    settle();
}

void QtDriver::pressLink(WindowId window, std::string_view unit) {
    QPointer<QWidget> target = &widget(window, unit);
    const QPoint centre = target->rect().center();
    QTest::mousePress(target, Qt::LeftButton, {}, centre);
    // The press may have closed the link's window.
    if (target && target->isVisible()) QTest::mouseRelease(target, Qt::LeftButton, {}, centre);
    settle();
}

void QtDriver::choose(WindowId window, std::string_view unit, int index) {
    auto* combo = qobject_cast<QComboBox*>(&widget(window, unit));
    if (!combo) throw std::logic_error(std::string(unit) + " is not a combo box");
    QTest::mouseClick(combo, Qt::LeftButton, {}, combo->rect().center());
    QAbstractItemView* list = combo->view();
    if (!QTest::qWaitFor([list] { return list->isVisible(); }, kWaitMilliseconds))
        throw std::runtime_error("the dropped list did not show");
    // The list ignores a release that follows its opening within a double-click's time.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QRect item = list->visualRect(list->model()->index(index, 0));
    QTest::mouseMove(list->viewport(), item.center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    if (!QTest::qWaitFor([list] { return !list->isVisible(); }, kWaitMilliseconds))
        throw std::runtime_error("the dropped list did not close");
    settle();
}

void QtDriver::type(WindowId window, std::string_view unit, std::string_view text) {
    QWidget& box = widget(window, unit);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Delete);
    // Line by line: a line break is the Enter key.
    const QStringList lines = qt::toQString(text).split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) QTest::keyClick(&box, Qt::Key_Return);
        typeText(&box, lines[i]);
    }
    settle();
}

void QtDriver::pressKey(WindowId window, Key key) {
    static constexpr Qt::Key kKeys[] = {Qt::Key_Space,  Qt::Key_Return, Qt::Key_PageDown, Qt::Key_PageUp,
                                        Qt::Key_Left,   Qt::Key_Up,     Qt::Key_Right,    Qt::Key_Down,
                                        Qt::Key_Escape, Qt::Key_F11,    Qt::Key_A};
    static_assert(std::size(kKeys) == static_cast<std::size_t>(Key::Other) + 1);
    qt::TopWindow* top = toolkit_.topWindow(window);
    if (!top || !top->windowHandle()) throw std::logic_error("the window is not shown");
    // To the window, as the window system delivers it, whichever unit has the focus.
    QTest::keyClick(top->windowHandle(), kKeys[static_cast<int>(key)]);
    settle();
}

bool QtDriver::runTimerUntil(WindowId, std::string_view, const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, kWaitMilliseconds);
}

} // namespace tallyra::ui::testing
