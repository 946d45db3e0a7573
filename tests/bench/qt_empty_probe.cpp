// The yardstick of the Linux program's figures: an empty frameless Qt window of the
// main window's size, started as tallyra starts (Qt's high-DPI scaling off).
//   tallyra_qt_empty_probe             exits once the window has been painted
//   tallyra_qt_empty_probe --idle S    then waits S seconds and prints its figures
#include "tests/bench/process_figures.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstring>
#include <string>

namespace {

class EmptyWindow : public QWidget {
public:
    explicit EmptyWindow(int idleSeconds) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), idle_(idleSeconds) {
        setWindowTitle(QStringLiteral("Tallyra"));
        setFixedSize(460, 434);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        if (painted_) return;
        painted_ = true;
        if (idle_ <= 0) {
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
            return;
        }
        const tallyra::bench::ProcessFigures before = tallyra::bench::processFigures();
        QTimer::singleShot(idle_ * 1000, [before] {
            tallyra::bench::printFigures("idle", before, tallyra::bench::processFigures());
            QCoreApplication::exit(0);
        });
    }

private:
    int idle_;
    bool painted_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    const int idleSeconds = argc == 3 && std::strcmp(argv[1], "--idle") == 0 ? std::stoi(argv[2]) : 0;
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    EmptyWindow window(idleSeconds);
    window.show();
    return QApplication::exec();
}
