// tallyra's entry point on Linux: the Qt toolkit and Qt's event loop around the
// program's entry sequence, and the espeak-ng voice.
#include "app/program.h"
#include "ui/qt/qt_toolkit.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    tallyra::ui::qt::prepareApplication();
    QApplication application(argc, argv);
    tallyra::ui::qt::setUpApplication();
    tallyra::ui::qt::QtToolkit toolkit;
    return tallyra::app::runProgram({toolkit, [] { return QApplication::exec(); }});
}
