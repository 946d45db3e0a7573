// The roll's cost per tick on the Linux program's widgets (the tick and the repaint of the
// number and the name), normal window against full screen on a 1920x1080 Xvfb screen.
#include "draw/roll_call.h"
#include "storage/data_folder.h"
#include "tests/support/file_paths.h"
#include "ui/windows/main_window.h"
#include "ui/windows/window_set.h"
#include "ui/qt/qt_toolkit.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace tallyra::ui {
namespace {

void rollTicks(benchmark::State& state, bool fullScreen) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tallyra-tick-bench";
    std::filesystem::create_directories(folder);
    qt::QtToolkit toolkit;
    toolkit.setModalHook([](QDialog& box) { box.reject(); }); // the first-run notice
    RollCall rollCall;
    const DataFolder data(toFilePath(folder / "Data"));
    WindowSet windows(toolkit, rollCall, data, MainWindow::Services{});
    MainWindow& window = windows.main();
    const WindowId id = window.open();
    ClassRoster roster;
    const char* names[] = {"阿卜杜热合曼·买买提", "张三", "欧阳明月", "李四", "司马光明"};
    for (int i = 1; i <= 60; ++i) {
        roster.numbers.push_back("2024" + std::to_string(1000 + i));
        roster.names.push_back(names[i % 5]);
    }
    rollCall.loadRoster(std::move(roster));
    window.setFullScreen(fullScreen);
    QApplication::processEvents(); // shown and exposed
    QWidget* shown = toolkit.unitWidget(id, main_units::kNumber)->window();
    rollCall.pressStartStop(window);
    for (auto _ : state) {
        rollCall.rollTick(window);
        // The repaint the tick asked for, of what changed, as the event loop makes it.
        QApplication::sendPostedEvents(shown, QEvent::UpdateRequest);
    }
    toolkit.destroyWindow(id);
    std::filesystem::remove_all(folder);
}

void normalWindow(benchmark::State& state) {
    rollTicks(state, false);
}
void fullScreen(benchmark::State& state) {
    rollTicks(state, true);
}
BENCHMARK(normalWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(fullScreen)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tallyra::ui

int main(int argc, char* argv[]) {
    tallyra::ui::qt::prepareApplication();
    QApplication application(argc, argv);
    tallyra::ui::qt::setUpApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
