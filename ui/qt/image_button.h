// The flat image button: colour pairs for normal, hot (pointer over it or held
// down) and focus, the caption centred and broken at word boundaries, shifted one
// pixel right and down while held. A click is a press and a release on the button.
#pragma once

#include "ui/kit/layout.h"

#include <QWidget>

namespace tallyra::ui::qt {

class TopWindow;

class ImageButton : public QWidget {
public:
    ImageButton(TopWindow& owner, const UnitDesign& design, QWidget* parent);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setState(bool hot, bool pressed);

    TopWindow& owner_;
    const UnitDesign& design_;
    QString caption_;
    bool hot_ = false;
    bool pressed_ = false; // the left button went down on the button and is still down
};

} // namespace tallyra::ui::qt
