// The Linux program as tallyra starts it, with a probe for its figures:
//   tallyra_qt_program_probe            exits once the main window has been painted
//   tallyra_qt_program_probe --roll S   then presses Start, lets the display roll for
//                                       S seconds and prints the process's resident
//                                       memory and the CPU time the rolling took
//   ... --full-screen                   then rolls S seconds more in full screen (F11) and
//                                       prints the same figures for that part
//   ... --silent                        the same without the espeak-ng voice, to see its share
// Compared with tallyra_qt_empty_probe, an empty Qt window started the same way
// (tests/bench/qt_figures.sh).
#include "app/program.h"
#include "speech/silent_voice.h"
#include "tests/bench/process_figures.h"
#include "ui/windows/main_window.h"
#include "ui/qt/qt_toolkit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void click(QWidget* widget) {
    const QPointF centre = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

// A key as the window system hands it over: to the window, whose filter takes keys.
void press(QObject* window, Qt::Key key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &up);
}

class FirstPaint : public QObject {
public:
    FirstPaint(int rollSeconds, bool fullScreen) : rollSeconds_(rollSeconds), fullScreen_(fullScreen) {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (done_ || event->type() != QEvent::Paint || !object->isWidgetType()) return false;
        QWidget* window = static_cast<QWidget*>(object)->window();
        if (window->windowTitle() != QLatin1String("Tallyra") || !window->isVisible()) return false;
        done_ = true;
        // After this paint has reached the screen.
        QTimer::singleShot(0, [this, window] { afterFirstPaint(window); });
        return false;
    }

private:
    void afterFirstPaint(QWidget* window) {
        if (rollSeconds_ <= 0) {
            QCoreApplication::exit(0);
            return;
        }
        QWidget* start = window->findChild<QWidget*>(QString::fromUtf8(tallyra::ui::main_units::kStartStop.data()));
        if (!start) {
            std::fprintf(stderr, "no start button\n");
            QCoreApplication::exit(1);
            return;
        }
        click(start);
        const tallyra::bench::ProcessFigures before = tallyra::bench::processFigures();
        QTimer::singleShot(rollSeconds_ * 1000, [this, before, window] {
            const tallyra::bench::ProcessFigures windowed = tallyra::bench::processFigures();
            tallyra::bench::printFigures("rolling", before, windowed);
            if (!fullScreen_) {
                QCoreApplication::exit(0);
                return;
            }
            press(window->windowHandle(), Qt::Key_F11);
            QTimer::singleShot(rollSeconds_ * 1000, [windowed] {
                tallyra::bench::printFigures("rolling_full_screen", windowed, tallyra::bench::processFigures());
                QCoreApplication::exit(0);
            });
        });
    }

    int rollSeconds_;
    bool fullScreen_;
    bool done_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    int rollSeconds = 0;
    bool silent = false;
    bool fullScreen = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--roll") == 0 && i + 1 < argc) rollSeconds = std::stoi(argv[++i]);
        if (std::strcmp(argv[i], "--silent") == 0) silent = true;
        if (std::strcmp(argv[i], "--full-screen") == 0) fullScreen = true;
    }
    tallyra::ui::qt::prepareApplication();
    QApplication application(argc, argv);
    tallyra::ui::qt::setUpApplication();
    FirstPaint probe(rollSeconds, fullScreen);
    application.installEventFilter(&probe);
    tallyra::ui::qt::QtToolkit toolkit;
    tallyra::app::Platform platform{toolkit, [] { return QApplication::exec(); }};
    if (silent) platform.createVoice = [] { return std::make_unique<tallyra::SilentVoice>(); };
    return tallyra::app::runProgram(platform);
}
