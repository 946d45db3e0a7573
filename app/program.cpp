#include "app/program.h"

#include "speech/announce.h"
#include "ui/windows/main_window.h"

namespace tallyra::app {

Program::Program(const Platform& platform)
    : platform_(platform), rollCall_(std::make_unique<RollCall>()),
      voice_(platform.createVoice ? platform.createVoice() : nullptr) {}

Program::~Program() {
    windows_.reset();
    rollCall_.reset();
    if (voice_) destroySpeechVoice(voice_);
}

std::optional<Message> Program::announce(const SettledPick& pick) {
    if (!voice_ || !windows_) return std::nullopt;
    voice_->setReceiver(windows_->main().voiceReceiver());
    if (announcePick(*voice_, windows_->data(), pick.number, pick.name)) return std::nullopt;
    return kSpeakFailedNotice;
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
    windows_->session().setAnnouncer([this](const SettledPick& pick) { return announce(pick); });
    if (windows_->main().open() == ui::kNoWindow) return 1;
    return platform_.runMessageLoop();
}

int runProgram(const Platform& platform) {
    Program program(platform);
    return program.run();
}

} // namespace tallyra::app
