#include "app/remote_draw.h"

namespace tallyra::app {

RemoteDraw::RemoteDraw(ui::WindowSet& windows, After after) : windows_(windows), after_(std::move(after)) {}

std::optional<TriggerAnswer> RemoteDraw::refusal(TriggerVerb verb) const {
    ui::WindowSet& windows = windows_;
    const bool anotherWindow = windows.settings() || windows.classManagement() || windows.about() ||
                               windows.changelog() || windows.support() || windows.absence() || windows.record();
    if (windows.toolkit().isWaitingForAnswer() || anotherWindow || reply_)
        return TriggerAnswer{TriggerCode::Busy, "程序正有一个提示框、菜单或其他窗口等待老师操作，请稍后再试。"};
    if (verb != TriggerVerb::Pick) return std::nullopt;
    const RollCall& rollCall = windows.rollCall();
    if (rollCall.roster().size() == 0) {
        if (windows.session().className().empty())
            return TriggerAnswer{TriggerCode::NoStudents, "尚未选择班级，请先在设置中选择或添加班级。"};
        return TriggerAnswer{TriggerCode::NoStudents, "当前班级没有学生，请先在班级管理中添加学生。"};
    }
    if (rollCall.absentCount() == rollCall.roster().size())
        return TriggerAnswer{TriggerCode::AllAbsent, "全班学生今天均已标记为缺席。"};
    return std::nullopt;
}

void RemoteDraw::handle(TriggerVerb verb, Reply reply, std::function<bool()> callerWaits) {
    if (verb == TriggerVerb::None) return;
    if (const std::optional<TriggerAnswer> refused = refusal(verb)) {
        reply(*refused);
        return;
    }
    // The step may ask a question: it runs after the call has returned, so that the
    // caller is never held inside it.
    if (verb == TriggerVerb::Draw) {
        reply({TriggerCode::Done, {}});
        after_(0, [this] { step(); });
        return;
    }
    reply_ = std::move(reply);
    callerWaits_ = std::move(callerWaits);
    after_(0, [this] { startPick(); });
}

void RemoteDraw::step() {
    ui::MainWindow& main = windows_.main();
    main.onHotKey(main.id());
}

void RemoteDraw::settled(const SettledPick& pick) {
    if (reply_) finish({TriggerCode::Done, pick.number + "\t" + pick.name});
}

void RemoteDraw::startPick() {
    RollCall& rollCall = windows_.rollCall();
    if (rollCall.isRolling()) {
        settlePick(); // the roll under way is the pick
        return;
    }
    if (rollCall.drawPool().empty()) {
        // The round is over: asked here, so that a caller that gave up meanwhile gets
        // its new round without a roll.
        bool restAbsent = false;
        for (std::size_t i = 0; i < rollCall.roster().size(); ++i)
            restAbsent = restAbsent || (!rollCall.drawn()[i] && rollCall.absent()[i]);
        const Message& question = restAbsent ? kRestAbsentQuestion : kRoundOverQuestion;
        if (windows_.toolkit().askWithRemote(question) != MessageAnswer::Yes) {
            finish({TriggerCode::NoNewRound, "本轮已抽完，新一轮未开始。"});
            return;
        }
        windows_.session().startNewRound();
        windows_.main().showRoundCount();
        if (callerWaits_ && !callerWaits_()) {
            finish({TriggerCode::NoNewRound, "调用方已不再等待。"});
            return;
        }
    }
    // The cycle's next step starts a roll unless the window floats after a stop: then
    // it first goes back.
    if (windows_.main().isFloating()) step();
    step();
    if (!reply_) return; // answered meanwhile
    if (!rollCall.isRolling()) {
        finish({TriggerCode::Busy, "抽取未能开始。"});
        return;
    }
    after_(kPickRollMs, [this] { settlePick(); });
}

void RemoteDraw::settlePick() {
    if (!reply_) return;
    RollCall& rollCall = windows_.rollCall();
    ui::MainWindow& main = windows_.main();
    if (rollCall.isRolling()) {
        if (!main.isFloating()) step();       // floats the window; the second step stops the roll
        step();                               // the settled pick answers the caller
        if (reply_ && rollCall.isRolling()) { // a box of the teacher's is open: try again shortly
            after_(250, [this] { settlePick(); });
            return;
        }
    }
    if (reply_) finish({TriggerCode::Failed, "抽取未完成。"});
}

void RemoteDraw::finish(const TriggerAnswer& answer) {
    Reply reply = std::move(reply_);
    reply_ = nullptr;
    callerWaits_ = nullptr;
    if (reply) reply(answer);
}

} // namespace tallyra::app
