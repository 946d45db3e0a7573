// tallyra's entry point on Linux: the Qt toolkit and Qt's event loop around the
// program's entry sequence, and the espeak-ng voice.
#include "app/program.h"
#include "app/trigger_channel.h"
#include "storage/data_folder.h"
#include "ui/qt/qt_toolkit.h"

#include <QApplication>

#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const tallyra::app::TriggerVerb verb = tallyra::app::parseTriggerVerb(arguments);
    // Another program's call: the running copy for this folder does it, and this process ends.
    if (const std::optional<int> code = tallyra::app::runTriggerCaller(tallyra::runDirectory().utf8(), verb))
        return *code;
    tallyra::ui::qt::prepareApplication();
    QApplication application(argc, argv);
    tallyra::ui::qt::setUpApplication();
    tallyra::ui::qt::QtToolkit toolkit;
    tallyra::app::Platform platform{toolkit, [] { return QApplication::exec(); }};
    platform.startVerb = verb;
    platform.serveTriggers = tallyra::app::serveTriggers;
    return tallyra::app::runProgram(platform);
}
