#include "app/program.h"

#include "speech/announce.h"
#include "ui/windows/main_window.h"

namespace tallyra::app {

Program::Program(const Platform& platform)
    : platform_(platform), rollCall_(std::make_unique<RollCall>()),
      voice_(platform.createVoice ? platform.createVoice() : nullptr) {
    rollCall_->setSettleListener(
        [this](const std::string& number, const std::string& name) { announce(number, name); });
    rollCall_->setSeveralListener([this](const std::vector<std::pair<std::string, std::string>>& students) {
        if (!voice_ || !windows_) return;
        voice_->setReceiver(windows_->main().voiceReceiver());
        announcePicks(*voice_, platform_.toolkit, windows_->data(), students);
    });
}

Program::~Program() {
    windows_.reset();
    rollCall_.reset();
    if (voice_) destroySpeechVoice(voice_);
}

void Program::announce(const std::string& number, const std::string& name) {
    if (!voice_ || !windows_) return;
    voice_->setReceiver(windows_->main().voiceReceiver());
    announcePick(*voice_, platform_.toolkit, windows_->data(), number, name);
}

int Program::run() {
    // Where the data is kept is settled once per start; every window reaches the files through it.
    SettledDataFolder settled = settleDataFolder(platform_.runDirectory ? platform_.runDirectory() : runDirectory());
    ui::MainWindow::Services services;
    services.checkVoices = [this](MessageBoxes& boxes) {
        if (voice_) checkVoicesAtStart(*voice_, boxes, windows_->data());
    };
    services.dataFolderNotice = std::move(settled.notice);
    windows_ =
        std::make_unique<ui::WindowSet>(platform_.toolkit, *rollCall_, std::move(settled.folder), std::move(services));
    if (windows_->main().open() == ui::kNoWindow) return 1;
    return platform_.runMessageLoop();
}

int runProgram(const Platform& platform) {
    Program program(platform);
    return program.run();
}

} // namespace tallyra::app
