#include "app/program.h"

#include "speech/announce.h"
#include "ui/main_window.h"
#include "ui/window_set.h"

#include <cstdlib>

namespace tallyra::app {
namespace {

constexpr std::string_view kFeedbackLabel = "反馈标签";

std::unique_ptr<RollCall> gRollCall;
std::unique_ptr<SpeechVoice> gVoice;

// Where announcements show their notices and whose label hears the voice; set
// while the main window exists.
ui::Toolkit* gToolkit = nullptr;
ui::WindowId gMainWindow = ui::kNoWindow;

void announce(const std::string& number, const std::string& name) {
    if (!gVoice || !gToolkit) return;
    gVoice->setReceiver(gToolkit->nativeHandle(gMainWindow, kFeedbackLabel));
    announcePick(*gVoice, *gToolkit, number, name);
}

void createGlobalState(const Platform& platform) {
    gRollCall = std::make_unique<RollCall>();
    gVoice = platform.createVoice ? platform.createVoice() : nullptr;
    gRollCall->setSettleListener(announce);
}

void exitHandler() {
    releaseGlobalState();
}

} // namespace

RollCall* rollCall() {
    return gRollCall.get();
}
SpeechVoice* speechVoice() {
    return gVoice.get();
}

void releaseGlobalState() {
    gRollCall.reset();
    if (gVoice) destroySpeechVoice(gVoice);
}

int runProgram(const Platform& platform) {
    createGlobalState(platform);
    std::atexit(exitHandler);

    int exitCode = 1;
    {
        ui::MainWindow::Services services;
        services.checkVoices = [](MessageBoxes& boxes) {
            if (gVoice) checkVoicesAtStart(*gVoice, boxes);
        };
        ui::WindowSet windows(platform.toolkit, *gRollCall, std::move(services));
        gToolkit = &platform.toolkit;
        gMainWindow = windows.main().open();
        if (gMainWindow != ui::kNoWindow) exitCode = platform.runMessageLoop();
        gToolkit = nullptr;
        gMainWindow = ui::kNoWindow;
    }
    return exitCode;
}

} // namespace tallyra::app
