#include "app/program.h"

#include "app/remote_draw.h"
#include "speech/announce.h"
#include "ui/windows/float_button_switch.h"
#include "ui/windows/main_window.h"

namespace tallyra::app {

Program::Program(const Platform& platform)
    : platform_(platform), rollCall_(std::make_unique<RollCall>()),
      voice_(platform.createVoice ? platform.createVoice() : nullptr) {}

Program::~Program() {
    remoteDraw_.reset();
    triggers_.reset();
    floatButton_.reset();
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
    windows_->session().setKeptListener([this](const SettledPick& pick) {
        if (remoteDraw_) remoteDraw_->settled(pick);
    });
    floatButton_ = std::make_unique<ui::FloatButtonSwitch>(*windows_);
    if (windows_->main().open(platform_.startVerb == TriggerVerb::Draw) == ui::kNoWindow) return 1;
    startTriggers();
    // The button comes once the main window has painted: a timer's turn comes after the paint.
    if (triggers_) triggers_->after(0, [this] { floatButton_->start(); });
    else floatButton_->start();
    return platform_.runMessageLoop();
}

void Program::startTriggers() {
    // Other programs' calls are served once the start-up and its boxes are over.
    const FilePath folder = platform_.runDirectory ? platform_.runDirectory() : runDirectory();
    if (platform_.serveTriggers)
        triggers_ = platform_.serveTriggers(folder.utf8(),
                                            [this](TriggerVerb verb, TriggerReply reply, std::function<bool()> waits) {
                                                if (remoteDraw_)
                                                    remoteDraw_->handle(verb, std::move(reply), std::move(waits));
                                            });
    if (triggers_)
        remoteDraw_ = std::make_unique<RemoteDraw>(*windows_, [this](int milliseconds, std::function<void()> function) {
            triggers_->after(milliseconds, std::move(function));
        });
}

int runProgram(const Platform& platform) {
    Program program(platform);
    return program.run();
}

} // namespace tallyra::app
