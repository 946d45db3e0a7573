#include "ui/qt/top_window.h"

#include "ui/kit/dpi.h"
#include "ui/qt/focus_return.h"
#include "ui/qt/global_hot_key.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qt_toolkit.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace tallyra::ui::qt {

TopWindow::TopWindow(QtToolkit& toolkit, WindowId id, const WindowDesign& design, WindowEvents& events)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), toolkit_(toolkit), id_(id), design_(design),
      events_(events) {
    // The taskbar shows the caption; the drawn title bar is a label of the layout.
    setWindowTitle(toQString(design.caption));
    setWindowIcon(applicationIcon());
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Every window opens centred on the screen (the DPI step may place it again).
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->geometry() : QRect(0, 0, design.width, design.height);
    const Rect placed = placedWindowRect({available.width(), available.height()}, {design.width, design.height}, 1.0f);
    setGeometry(placed.left, placed.top, placed.width, placed.height);
    setFixedSize(design.width, design.height);
}

void TopWindow::build() {
    units_.resize(design_.units.size());
    for (std::size_t i = 0; i < design_.units.size(); ++i) {
        Unit& unit = units_[i];
        unit.design = &design_.units[i];
        QWidget* parent = this;
        if (!unit.design->parent.empty()) {
            if (const Unit* container = find(unit.design->parent); container && container->widget)
                parent = container->widget;
        }
        createUnit(*this, unit, parent);
    }
}

Unit* TopWindow::find(std::string_view name) {
    for (Unit& unit : units_)
        if (unit.design && unit.name() == name) return &unit;
    return nullptr;
}

const Unit* TopWindow::find(std::string_view name) const {
    return const_cast<TopWindow*>(this)->find(name);
}

void TopWindow::notify(std::string_view unit, UnitEvent event) {
    if (isDestroying()) return;
    events_.onUnitEvent(id_, unit, event);
}

void TopWindow::beginDrag(QPoint globalPosition) {
    // The window manager moves the window where it can; otherwise we follow the pointer.
    if (QWindow* native = windowHandle(); native && native->startSystemMove()) return;
    dragging_ = true;
    dragOffset_ = globalPosition - pos();
}

void TopWindow::dragTo(QPoint globalPosition) {
    if (dragging_) move(globalPosition - dragOffset_);
}

void TopWindow::endDrag() {
    dragging_ = false;
}

void TopWindow::checkRadio(Unit& radio, bool checked) {
    if (radio.kind() != UnitKind::RadioBox || !radio.widget) return;
    static_cast<QAbstractButton*>(radio.widget)->setChecked(checked);
    if (!checked) return;
    // The radio boxes of one parent form one group.
    for (Unit& other : units_) {
        if (&other != &radio && other.kind() == UnitKind::RadioBox && other.widget &&
            other.widget->parentWidget() == radio.widget->parentWidget())
            static_cast<QAbstractButton*>(other.widget)->setChecked(false);
    }
}

void TopWindow::notifyFileDropped(std::string_view unit, const std::string& path) {
    if (!isDestroying()) events_.onFileDropped(id_, unit, path);
}

void TopWindow::notifyHotKey() {
    if (!isDestroying()) events_.onHotKey(id_);
}

void TopWindow::setFloating(bool floating) {
    if (floating == floating_ || isDestroying()) return;
    floating_ = floating;
    // Kept from the window manager too: several put a focused full-screen window above every
    // "keep above" window, the slide show included.
    constexpr Qt::WindowFlags kFloatingFlags =
        Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus | Qt::BypassWindowManagerHint;
    if (floating) {
        placeBeforeFloating_ = pos();
        minimisedBeforeFloating_ = isMinimized();
        // Window flags take effect when the window is shown again.
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        setWindowFlags(windowFlags() | kFloatingFlags);
        const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen) screen = this->screen();
        if (screen) {
            const QRect area = screen->geometry();
            move(area.left() + std::max(0, (area.width() - width()) / 2),
                 area.top() + std::max(0, (area.height() - height()) / 2));
        }
        showNormal();
        raise();
        return;
    }
    setWindowFlags(windowFlags() & ~kFloatingFlags);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    move(placeBeforeFloating_);
    if (minimisedBeforeFloating_) {
        showMinimized();
    } else {
        setAttribute(Qt::WA_ShowWithoutActivating, true); // behind the program that has the focus
        show();
        lower();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

void TopWindow::destroyWindow() {
    if (isDestroying()) return;
    destroying_ = true;
    events_.onDestroying(id_);
    toolkit_.forget(id_);
    hide();
    // Later: we may be inside one of this window's own events (its close button's click).
    deleteLater();
}

void TopWindow::focusFirstTabStop() {
    // The first visible unit with a tab stop: the class box of the settings and class
    // management windows, the text of the changelog window.
    for (Unit& unit : units_) {
        if (unit.design->tabStop && unit.widget && unit.widget->isVisible() && unit.widget->isEnabled()) {
            unit.widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void TopWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), design_.background ? toQColor(*design_.background) : palette().color(QPalette::Button));
}

void TopWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) beginDrag(event->globalPosition().toPoint());
}

void TopWindow::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) dragTo(event->globalPosition().toPoint());
}

void TopWindow::mouseReleaseEvent(QMouseEvent*) {
    endDrag();
}

void TopWindow::closeEvent(QCloseEvent* event) {
    // Closed from the taskbar or with Alt+F4: destroyed like by its own close button.
    event->ignore();
    destroyWindow();
}

void TopWindow::contextMenuEvent(QContextMenuEvent* event) {
    // A right click on any unit (they pass it up) or the menu key.
    if (isDestroying()) return;
    std::optional<Point> at;
    if (event->reason() != QContextMenuEvent::Keyboard) at = Point{event->globalPos().x(), event->globalPos().y()};
    // Over a slide show the program there gets the focus back from the menu's boxes.
    const FocusReturn focus;
    events_.onMenuRequested(id_, at);
    if (floating_ && isVisible() && !isDestroying()) focus.giveBack(); // not when a window of ours replaced it
}

void TopWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!watchingKeys_ && windowHandle()) {
        windowHandle()->installEventFilter(this);
        watchingKeys_ = true;
    }
    focusFirstTabStop();
}

bool TopWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool pressed = event->type() == QEvent::KeyPress;
    if (watched != windowHandle() || (!pressed && event->type() != QEvent::KeyRelease) || isDestroying())
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<const QKeyEvent*>(event);
    // A key held down repeats as release and press pairs, both marked: only the presses count.
    if (!pressed && key->isAutoRepeat()) return false;
    const KeyAction action = !pressed              ? KeyAction::Released
                             : key->isAutoRepeat() ? KeyAction::Repeated
                                                   : KeyAction::Pressed;
    if (action == KeyAction::Pressed) {
        const unsigned code = virtualKeyOf(key->key());
        const Qt::KeyboardModifiers held = key->modifiers();
        const unsigned modifiers = (held & Qt::AltModifier ? kAlt : 0u) | (held & Qt::ControlModifier ? kControl : 0u) |
                                   (held & Qt::ShiftModifier ? kShift : 0u) | (held & Qt::MetaModifier ? kWin : 0u);
        if (code != 0 && events_.onKeyStroke(id_, {code, modifiers})) return true;
    }
    // Shift+F10 opens the menu, as on Windows (the menu key comes as a context menu event).
    if (action == KeyAction::Pressed && key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
        events_.onMenuRequested(id_, std::nullopt);
        return true;
    }
    events_.onKey(id_, keyOf(virtualKeyOf(key->key())), action);
    return false; // the key still does what it does in the unit that has the focus
}

} // namespace tallyra::ui::qt
