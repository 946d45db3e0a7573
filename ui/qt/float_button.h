// The floating button on Linux: a round frameless tool window that never takes the
// focus, kept above by the window manager's stacking hints and, on X11, outside its
// management as the hot key's floating window is. It follows a drag itself (the
// pressed widget keeps the pointer), and a press held still for 0.6 s, or a right
// click, opens the main window's menu.
#pragma once

#include "ui/kit/float_button.h"

#include <QTimer>
#include <QWidget>

namespace tallyra::ui::qt {

class QtFloatButton : public QWidget, public FloatButton {
public:
    QtFloatButton(const FloatButtonOptions& options, FloatButtonEvents& events);

    Rect rect() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void place();
    void openMenu(QPoint at);

    FloatButtonOptions options_;
    FloatButtonEvents& events_;
    int size_;
    QTimer longPress_;
    bool pressed_ = false;
    bool dragging_ = false;
    QPoint pressedAt_;
    QPoint placeAtPress_;
    int threshold_ = 4;
};

} // namespace tallyra::ui::qt
