// The current class, owned in one place: its name, its roster with this round and
// today's absences (in the roll call, kept by the round keeper), the class list
// with the class the settings window shows as current, and what the main window's
// title names. Each class operation is one storage call (storage/classes) whose
// consequences are carried out here; the listeners are told once and render what
// the session says, never reading the truth back from a control.
//
// The session is also the roll call's listener. A settled pick is handled in one
// order: the labels already show the student; the announcement is queued; the
// round file is written; the record is appended; only then is any failure told,
// and the caption turns back to Start after that.
#pragma once

#include "base/message_box.h"
#include "draw/roll_call.h"
#include "draw/round_keeper.h"
#include "storage/classes.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

// The class a class box shows selected: a list of a single class always has it
// selected, even when Default names another; otherwise select, or the current
// class when select is empty; -1 when none of them is listed.
int shownClassIndex(const classes::Listing& listing, std::string_view select = {});

class ClassSession : private PickListener {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        // The current class, its roster or the class the title names changed.
        // emptiesDisplay: another class was chosen (or the last one went), so the
        // number and name on display belong to no current student.
        virtual void onCurrentClassChanged(bool emptiesDisplay) = 0;
        // The class list, or the class shown as current, changed.
        virtual void onClassListChanged() = 0;
    };
    // Queues the announcement of a settled pick and returns at once: what to tell
    // when the voice refused it (told after the pick is kept).
    using Announcer = std::function<std::optional<Message>(const SettledPick& pick)>;
    // Told of a settled pick once it is kept (round file and record written), before
    // any failure is told: another program waiting for the pick gets it then.
    using KeptListener = std::function<void(const SettledPick& pick)>;

    ClassSession(RollCall& rollCall, MessageBoxes& boxes, DataFolder data);
    ~ClassSession() override;
    ClassSession(const ClassSession&) = delete;
    ClassSession& operator=(const ClassSession&) = delete;

    void setListener(Listener* listener) { listener_ = listener; }
    void setAnnouncer(Announcer announcer) { announcer_ = std::move(announcer); }
    void setKeptListener(KeptListener listener) { kept_ = std::move(listener); }

    // The start-up: the class Default names, with its roster (an unreadable roster
    // file is told), its round and today's absences.
    void start();

    RollCall& rollCall() { return rollCall_; }
    const RollCall& rollCall() const { return rollCall_; }
    const DataFolder& data() const { return data_; }
    // The class whose roster the roll call holds.
    const std::string& className() const { return round_.className(); }
    // The record of picks, with the picks that wait for it.
    const PickRecorder& record() const { return round_.record(); }
    // The class the main window's title names: none, or a class (whose name may be empty).
    const std::optional<std::string>& titleClass() const { return titleClass_; }
    // The class list as last read or changed here, and the place of the class shown as current (-1: none).
    const std::vector<std::string>& classes() const { return classes_; }
    int shownIndex() const { return shown_; }
    // Whether the settings window shows a current class: a class added then is not made current.
    bool hasCurrentClass() const { return shown_ >= 0; }

    // Reads the class list again (a settings file that cannot be read is told); the
    // listeners are told when it changed, or always with force.
    void reloadList(bool force = false);

    // The class operations. Each returns the storage result; what the result's
    // message says is for the caller to tell, except where noted.
    classes::Result add(std::string_view name);
    classes::Result save(const classes::ShownClass& shown, std::string_view newName, std::string_view rosterText,
                         const ClassRoster& shownRoster, bool overwrite = false);
    // Tells the result's message itself when the class was deleted (it is cleared);
    // then the class now at its place, if any, becomes current.
    classes::Result remove(const classes::ShownClass& shown);
    // Tells the result's message itself; a class gone from the list reloads it.
    classes::Result choose(const classes::ShownClass& shown);

    // Today's absent students of the current class; what to tell when they could not be kept.
    std::optional<Message> setAbsent(const StudentMarks& absent);
    void startNewRound();

    // Before a draw of several starts, as before a single roll: the round as its file holds
    // it now (another copy may have drawn meanwhile), with the picks that waited for it.
    void syncRound() { round_.syncRound(); }
    // Several students settled at once (RollCall::settleSeveral), in slot order: each
    // announced in turn, then one round write and one record append for them all.
    void settleSeveral(const std::vector<std::size_t>& positions, const std::vector<std::size_t>& oldRound,
                       bool newRound);
    // The student of the last single pick turned out to be absent (RoundKeeper::takeBackLastPick).
    bool takeBackLastPick();
    std::size_t lastSettled() const { return round_.lastSettled(); }

private:
    void onSettled(const SettledPick& pick) override;
    void onRoundReset() override;
    void onRollStarting() override;
    void currentChanged(bool emptiesDisplay);
    void listChanged();

    RollCall& rollCall_;
    MessageBoxes& boxes_;
    DataFolder data_;
    RoundKeeper round_;
    Listener* listener_ = nullptr;
    Announcer announcer_;
    KeptListener kept_;
    std::optional<std::string> titleClass_;
    std::vector<std::string> classes_;
    int shown_ = -1;
};

} // namespace tallyra
