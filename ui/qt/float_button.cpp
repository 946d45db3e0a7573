#include "ui/qt/float_button.h"

#include "ui/kit/dpi.h"

#include "ui/qt/focus_return.h"
#include "ui/qt/fonts.h"
#include "ui/qt/units.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointingDevice>
#include <QScreen>
#include <QStyleHints>

#include <vector>

namespace tallyra::ui::qt {
namespace {

constexpr int kLongPressMs = 600;

Rect toRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

PointerKind pointerOf(const QMouseEvent* event) {
    const QPointingDevice* device = event->pointingDevice();
    if (!device) return PointerKind::Mouse;
    if (device->type() == QInputDevice::DeviceType::TouchScreen) return PointerKind::Touch;
    if (device->type() == QInputDevice::DeviceType::Stylus) return PointerKind::Pen;
    return PointerKind::Mouse;
}

Rect workAreaAt(QPoint point) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? toRect(screen->availableGeometry()) : Rect{};
}

} // namespace

QtFloatButton::QtFloatButton(const FloatButtonOptions& options, FloatButtonEvents& events)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::BypassWindowManagerHint),
      options_(options), events_(events), size_(scaleRound(kFloatButtonSize, options.dpiScale)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(toQString(options_.caption));
    setFixedSize(size_, size_);
    // Round without a compositor too: the mask cuts the window itself.
    setMask(QRegion(0, 0, size_, size_, QRegion::Ellipse));
    setCursor(Qt::PointingHandCursor);
    longPress_.setSingleShot(true);
    longPress_.setInterval(kLongPressMs);
    connect(&longPress_, &QTimer::timeout, this, [this] {
        if (pressed_ && !dragging_) openMenu(QCursor::pos());
    });
    place();
    show();
    raise();
}

Rect QtFloatButton::rect() const {
    return toRect(geometry());
}

void QtFloatButton::place() {
    std::vector<Rect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.push_back(toRect(screen->availableGeometry()));
    FloatPlace where = options_.place.value_or(FloatPlace{});
    if (!options_.place) {
        const Rect primary = workAreaAt(QPoint());
        where.monitor = {primary.left, primary.top};
    }
    if (const std::optional<Rect> area = areaFor(where, areas)) {
        const Rect at = rectAt(where, {size_, size_}, *area);
        move(at.left, at.top);
    }
}

void QtFloatButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(toQColor(kWhite), std::max(1, size_ / 28)));
    painter.setBrush(toQColor(pressed_ ? kMinimiseHot : kTitleBlue));
    painter.drawEllipse(QRectF(0.5, 0.5, size_ - 1.0, size_ - 1.0));
    QFont font(resolvedFace(kYaHei));
    font.setPixelSize(size_ * 9 / 28);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(toQColor(kWhite));
    painter.drawText(QRect(0, 0, size_, size_), Qt::AlignCenter, toQString(options_.caption));
}

void QtFloatButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    dragging_ = false;
    pressedAt_ = event->globalPosition().toPoint();
    placeAtPress_ = pos();
    threshold_ = dragThreshold(pointerOf(event), QGuiApplication::styleHints()->startDragDistance(), options_.dpiScale);
    longPress_.start();
    update();
}

void QtFloatButton::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) return;
    const QPoint now = event->globalPosition().toPoint();
    if (!dragging_ && !isDrag({pressedAt_.x(), pressedAt_.y()}, {now.x(), now.y()}, threshold_)) return;
    dragging_ = true;
    longPress_.stop();
    move(placeAtPress_ + now - pressedAt_);
}

void QtFloatButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    longPress_.stop();
    update();
    if (!dragging_) {
        events_.onFloatButtonTap();
        return;
    }
    dragging_ = false;
    const Rect area = workAreaAt(geometry().center());
    const Rect docked = dockToEdges(toRect(geometry()), area, scaleRound(kDockDistance, options_.dpiScale));
    move(docked.left, docked.top);
    options_.place = placeOf(docked, area);
    events_.onFloatButtonMoved(*options_.place);
}

void QtFloatButton::contextMenuEvent(QContextMenuEvent* event) {
    openMenu(event->globalPos());
}

void QtFloatButton::openMenu(QPoint at) {
    pressed_ = dragging_ = false;
    longPress_.stop();
    update();
    // The menu's boxes may take the focus; the program that had it gets it back, unless
    // another window of ours now stands in for the main window.
    const FocusReturn focus;
    if (events_.onFloatButtonMenu({at.x(), at.y()})) focus.giveBack();
}

} // namespace tallyra::ui::qt
