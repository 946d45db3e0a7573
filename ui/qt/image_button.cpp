#include "ui/qt/image_button.h"

#include "ui/qt/top_window.h"
#include "ui/qt/units.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace tallyra::ui::qt {

ImageButton::ImageButton(TopWindow& owner, const UnitDesign& design, QWidget* parent)
    : QWidget(parent), owner_(owner), design_(design), caption_(toQString(design.text)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Like the Windows buttons, a click does not take the focus from the edit or combo box.
    setFocusPolicy(Qt::NoFocus);
    if (!design.tooltip.empty()) setToolTip(toQString(design.tooltip));
}

void ImageButton::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

void ImageButton::setState(bool hot, bool pressed) {
    if (hot == hot_ && pressed == pressed_) return;
    hot_ = hot;
    pressed_ = pressed;
    update();
}

void ImageButton::enterEvent(QEnterEvent*) {
    if (pressed_) return;
    // A pointer dragged in with the button already down (pressed elsewhere) does not make it hot.
    if (!(QApplication::mouseButtons() & Qt::LeftButton)) setState(true, false);
}

void ImageButton::leaveEvent(QEvent*) {
    // Held down, the button keeps its hot look and shifted caption wherever the
    // pointer goes; only where it is released decides whether it was a click.
    if (!pressed_) setState(false, false);
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setState(true, true);
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    const bool inside = rect().contains(event->position().toPoint());
    setState(inside, false);
    if (inside) owner_.notify(design_.name, UnitEvent::Clicked);
    // nothing after this: the click's handler may have destroyed the window
}

void ImageButton::paintEvent(QPaintEvent*) {
    const bool held = pressed_;
    const ColorPair& colours = (hot_ || held) ? design_.hot : hasFocus() ? design_.focus : design_.normal;
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(colours.background));
    if (caption_.isEmpty()) return;
    painter.setPen(toQColor(colours.text));
    painter.setFont(font());
    const QRect box = held ? rect().translated(1, 1) : rect();
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, caption_);
}

} // namespace tallyra::ui::qt
