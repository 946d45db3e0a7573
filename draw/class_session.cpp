#include "draw/class_session.h"

#include "storage/roster.h"
#include "storage/settings.h"

#include <algorithm>

namespace tallyra {

int shownClassIndex(const classes::Listing& listing, std::string_view select) {
    if (!listing.list.empty() && listing.list.find(',') == std::string::npos && select.empty()) return 0;
    const std::string_view chosen = !select.empty() ? select : std::string_view(listing.current);
    int index = -1;
    for (std::size_t i = 0; i < listing.classes.size(); ++i)
        if (listing.classes[i] == chosen) index = static_cast<int>(i);
    return index;
}

ClassSession::ClassSession(RollCall& rollCall, MessageBoxes& boxes, DataFolder data)
    : rollCall_(rollCall), boxes_(boxes), data_(std::move(data)), round_(rollCall_, boxes_, data_) {
    rollCall_.setListener(this);
}

ClassSession::~ClassSession() {
    rollCall_.setListener(nullptr);
}

void ClassSession::start() {
    const std::string className = settings::currentClass(data_);
    StoredRoster roster = loadRoster(data_, className);
    if (roster.state == ReadState::Failed && !className.empty())
        boxes_.showMessage(fileNotReadMessage(data_.rosterFile(className)));
    round_.loadClass(className, std::move(roster.roster), RoundKeeper::Reason::StartUp);
    // At start an empty Default names no class, whatever the list holds.
    titleClass_ = className.empty() ? std::nullopt : std::optional<std::string>(className);
}

void ClassSession::currentChanged(bool emptiesDisplay) {
    if (listener_) listener_->onCurrentClassChanged(emptiesDisplay);
}

void ClassSession::listChanged() {
    if (listener_) listener_->onClassListChanged();
}

void ClassSession::reloadList(bool force) {
    classes::Listing listing = classes::readListing(data_);
    if (listing.failure) boxes_.showMessage(*listing.failure);
    const int shown = shownClassIndex(listing);
    if (!force && listing.classes == classes_) return;
    classes_ = std::move(listing.classes);
    shown_ = shown;
    listChanged();
}

classes::Result ClassSession::add(std::string_view name) {
    classes::Result result = classes::addClass(data_, name, !hasCurrentClass());
    if (!result.done()) return result;
    classes_.emplace_back(name);
    if (result.current) shown_ = static_cast<int>(classes_.size()) - 1;
    listChanged();
    // The first class becomes the current one.
    if (result.current) {
        round_.loadClass(name, result.roster, RoundKeeper::Reason::Changed);
        titleClass_ = std::string(name);
        currentChanged(false);
    }
    return result;
}

classes::Result ClassSession::save(const classes::ShownClass& shown, std::string_view newName,
                                   std::string_view rosterText, const ClassRoster& shownRoster, bool overwrite) {
    classes::Result result = classes::saveClass(data_, shown, newName, rosterText, shownRoster, overwrite);
    if (!result.done()) return result;
    const bool renamed = newName != shown.name;
    if (renamed) {
        round_.classRenamed(shown.name, newName);
        if (shown.index >= 0 && static_cast<std::size_t>(shown.index) < classes_.size())
            classes_[static_cast<std::size_t>(shown.index)] = std::string(newName);
        // A rename retitles the main window from the class the settings window shows.
        titleClass_ = shown_ >= 0 && static_cast<std::size_t>(shown_) < classes_.size()
                          ? std::optional<std::string>(classes_[static_cast<std::size_t>(shown_)])
                          : std::nullopt;
        listChanged();
    }
    if (result.current) round_.loadClass(newName, result.roster, RoundKeeper::Reason::Changed);
    if (renamed || result.current) currentChanged(false);
    return result;
}

classes::Result ClassSession::remove(const classes::ShownClass& shown) {
    classes::Result result = classes::deleteClass(data_, shown);
    if (!result.done()) return result;
    // Only once the files say so does the roll call lose the class.
    rollCall_.loadRoster({});
    if (result.message) boxes_.showMessage(*result.message);
    result.message.reset();
    round_.classDeleted(shown.name);

    const int index = shown.index;
    if (index >= 0 && static_cast<std::size_t>(index) < classes_.size()) classes_.erase(classes_.begin() + index);
    const int left = static_cast<int>(classes_.size());
    shown_ = left == 0 ? -1 : std::min(index, left - 1);
    listChanged();
    // The class now at its place becomes current; after the last one, the main window names none.
    if (shown_ >= 0) {
        choose({shown_, classes_[static_cast<std::size_t>(shown_)]});
    } else if (result.lastClass) {
        titleClass_.reset();
        currentChanged(true);
    } else {
        currentChanged(false);
    }
    return result;
}

classes::Result ClassSession::choose(const classes::ShownClass& shown) {
    // The settings window shows the class chosen, even when the choice cannot be written.
    shown_ = shown.index;
    classes::Result result = classes::chooseClass(data_, shown);
    // A failed write leaves the current class, and the roll call with it, as they were.
    if (result.message) boxes_.showMessage(*result.message);
    if (result.outcome == classes::Outcome::ClassGone) {
        reloadList();
        return result;
    }
    if (!result.done()) return result;
    rollCall_.loadRoster({});
    round_.loadClass(shown.name, result.roster, RoundKeeper::Reason::Chosen);
    titleClass_ = shown.name;
    currentChanged(true);
    return result;
}

std::optional<Message> ClassSession::setAbsent(const StudentMarks& absent) {
    return round_.setAbsent(absent);
}

void ClassSession::startNewRound() {
    rollCall_.startNewRound();
}

void ClassSession::onSettled(const SettledPick& pick) {
    // The voice never waits for the disk, and nothing that waits for the teacher comes before the writes.
    const std::optional<Message> notSpoken = announcer_ ? announcer_(pick) : std::nullopt;
    const std::vector<Message> failures = round_.keepPick(pick);
    if (kept_) kept_(pick);
    for (const Message& failure : failures)
        boxes_.showMessage(failure);
    if (notSpoken) boxes_.showMessage(*notSpoken);
}

void ClassSession::onRoundReset() {
    round_.roundReset();
}

void ClassSession::onRollStarting() {
    round_.syncRound();
}

} // namespace tallyra
