// One of the program's windows: a frameless top-level widget with the design's
// background, its units, and dragging from any static part of its surface.
#pragma once

#include "ui/qt/units.h"
#include "ui/kit/toolkit.h"

#include <QPoint>
#include <QWidget>

#include <vector>

namespace tallyra::ui::qt {

class QtToolkit;

class TopWindow : public QWidget {
public:
    TopWindow(QtToolkit& toolkit, WindowId id, const WindowDesign& design, WindowEvents& events);

    // Creates every unit of the design.
    void build();

    WindowId id() const { return id_; }
    const WindowDesign& design() const { return design_; }
    Unit* find(std::string_view name);
    const Unit* find(std::string_view name) const;

    // Tells the handlers about a unit's event, unless the window is going away.
    void notify(std::string_view unit, UnitEvent event);

    // Dragging the window: started by a press on its surface or a static unit.
    void beginDrag(QPoint globalPosition);
    void dragTo(QPoint globalPosition);
    void endDrag();

    // Checks a radio box; checking one unchecks the others of its parent.
    void checkRadio(Unit& radio, bool checked);

    // The global hot key was pressed.
    void notifyHotKey();
    // A file was dropped on a unit that takes drops.
    void notifyFileDropped(std::string_view unit, const std::string& path);
    // On top of every window without taking the focus, on the screen under the pointer;
    // or back where and as it was.
    void setFloating(bool floating);
    bool isFloating() const { return floating_; }

    // Tells the handlers the window is being destroyed, then lets Qt delete it.
    void destroyWindow();
    bool isDestroying() const { return destroying_; }

protected:
    // Keys reach the window (its QWindow) once each, whichever unit has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void focusFirstTabStop();

    QtToolkit& toolkit_;
    WindowId id_;
    const WindowDesign& design_;
    WindowEvents& events_;
    std::vector<Unit> units_;
    bool destroying_ = false;
    bool watchingKeys_ = false;
    bool dragging_ = false;
    bool floating_ = false;
    bool minimisedBeforeFloating_ = false;
    QPoint placeBeforeFloating_;
    QPoint dragOffset_; // pointer position minus window position while dragging
};

} // namespace tallyra::ui::qt
