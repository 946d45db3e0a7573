#include "ui/qt/message_box.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QScreen>

namespace tallyra::ui::qt {
namespace {

// The widest a box grows at 96 pixels per inch before its text wraps.
constexpr int kWidest = 340;

} // namespace

bool MessageBox::event(QEvent* event) {
    // Qt sizes the box on these two (up to 500 pixels wide); the width is taken back after it.
    const bool handled = QMessageBox::event(event);
    if (event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest) narrow();
    return handled;
}

void MessageBox::narrow() {
    const QScreen* shownOn = screen();
    const int widest = kWidest * (shownOn ? shownOn->logicalDotsPerInchX() : 96.0) / 96.0;
    QLayout* boxLayout = layout();
    if (!boxLayout || width() <= widest) return;
    // Qt wraps only texts wider than its own limit of 500 pixels.
    for (QLabel* label : findChildren<QLabel*>())
        if (label->text() == text()) label->setWordWrap(true);
    const int width = std::max(widest, boxLayout->totalMinimumSize().width());
    const int height =
        boxLayout->hasHeightForWidth() ? boxLayout->totalHeightForWidth(width) : boxLayout->totalMinimumSize().height();
    setFixedSize(width, height);
}

} // namespace tallyra::ui::qt
