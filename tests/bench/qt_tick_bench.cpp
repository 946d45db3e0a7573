// The roll's cost per tick on the Linux program's widgets (the tick and the repaint of the
// number and the name, or of the ten slots of several at once), normal window against full
// screen on a 1920x1080 Xvfb screen.
#include "draw/roll_call.h"
#include "storage/data_folder.h"
#include "tests/support/file_paths.h"
#include "ui/qt/qt_toolkit.h"
#include "ui/windows/main_window.h"
#include "ui/windows/multi_draw_window.h"
#include "ui/windows/window_set.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace tallyra::ui {
namespace {

const std::filesystem::path kFolder = std::filesystem::temp_directory_path() / "tallyra-tick-bench";

ClassRoster classOf60() {
    ClassRoster roster;
    const char* names[] = {"阿卜杜热合曼·买买提", "张三", "欧阳明月", "李四", "司马光明"};
    for (int i = 1; i <= 60; ++i) {
        roster.numbers.push_back("2024" + std::to_string(1000 + i));
        roster.names.push_back(names[i % 5]);
    }
    return roster;
}

void rollTicks(benchmark::State& state, bool fullScreen) {
    std::filesystem::create_directories(kFolder);
    qt::QtToolkit toolkit;
    toolkit.setModalHook([](QDialog& box) { box.reject(); }); // the first-run notice
    RollCall rollCall;
    WindowSet windows(toolkit, rollCall, DataFolder(toFilePath(kFolder / "Data")), MainWindow::Services{});
    MainWindow& window = windows.main();
    const WindowId id = window.open();
    rollCall.loadRoster(classOf60());
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
    std::filesystem::remove_all(kFolder);
}

void multiDrawTicks(benchmark::State& state, bool fullScreen) {
    std::filesystem::create_directories(kFolder / "Data");
    qt::QtToolkit toolkit;
    toolkit.setModalHook([](QDialog& box) { box.reject(); });
    RollCall rollCall;
    {
        WindowSet windows(toolkit, rollCall, DataFolder(toFilePath(kFolder / "Data")), MainWindow::Services{});
        windows.main().open();
        rollCall.loadRoster(classOf60());
        MultiDrawWindow multi(windows);
        multi.open();
        const WindowId id = multi.id();
        toolkit.setText(id, multi_draw_units::kCountBox, "10");
        if (fullScreen) multi.onKey(id, Key::F11, KeyAction::Pressed);
        multi.onUnitEvent(id, multi_draw_units::kStartStop, UnitEvent::Clicked);
        std::vector<QWidget*> cells; // "slots" is Qt's keyword
        for (int i = 0; i < 10; ++i)
            cells.push_back(toolkit.unitWidget(id, multi_draw_units::slot(i)));
        QApplication::processEvents();
        for (auto _ : state) {
            multi.onUnitEvent(id, multi_draw_units::kTimer, UnitEvent::Tick);
            for (QWidget* cell : cells)
                cell->repaint();
        }
        toolkit.destroyWindow(id);
    }
    std::filesystem::remove_all(kFolder);
}

void normalWindow(benchmark::State& state) {
    rollTicks(state, false);
}
void fullScreen(benchmark::State& state) {
    rollTicks(state, true);
}
void tenSlotsWindow(benchmark::State& state) {
    multiDrawTicks(state, false);
}
void tenSlotsFullScreen(benchmark::State& state) {
    multiDrawTicks(state, true);
}
BENCHMARK(normalWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(fullScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(tenSlotsWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(tenSlotsFullScreen)->Unit(benchmark::kMicrosecond);

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
