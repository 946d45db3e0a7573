#include "app/program.h"

#include "ui/main_window.h"
#include "ui/window_set.h"

#include <cstdlib>
#include <memory>

namespace tallyra::app {
namespace {

std::unique_ptr<RollCall> gRollCall;

void exitHandler() { releaseGlobalState(); }

void createGlobalState() {
    gRollCall = std::make_unique<RollCall>();
}

} // namespace

RollCall& rollCall() { return *gRollCall; }

void releaseGlobalState() {
    gRollCall.reset();
}

int runProgram(const Platform& platform) {
    createGlobalState();
    std::atexit(exitHandler);

    int exitCode = 1;
    {
        ui::MainWindow::Services services;
        ui::WindowSet windows(platform.toolkit, *gRollCall, std::move(services));
        if (windows.main().open() == ui::kNoWindow) return exitCode;
        exitCode = platform.runMessageLoop();
    }
    return exitCode;
}

} // namespace tallyra::app
