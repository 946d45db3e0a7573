#include "storage/classes.h"

#include "storage/class_list.h"
#include "storage/lists.h"
#include "storage/platform/file_system.h"
#include "storage/settings.h"
#include "storage/student_marks.h"

#include <algorithm>

namespace tallyra {

Message lockNotAFileMessage(const FilePath& lockFile) {
    return Message::owning("保存失败", "班级数据未能写入：“" + lockFile.utf8() +
                            "”本应是本程序的锁文件，现在却是一个文件夹或其他不是普通文件的东西。请删除它，然后重试！", kErrorOk);
}

} // namespace tallyra

namespace tallyra::classes {
namespace {

Result stop(Outcome outcome, const Message& message) {
    Result result;
    result.outcome = outcome;
    result.message = message;
    return result;
}

Result readFailure(const FilePath& file) {
    return stop(Outcome::Failed, fileNotReadMessage(file));
}

// Config.conf as read under the lock, with the class list taken apart.
struct Settings {
    IniDocument file;
    IniDocument::Value list;
    std::string current;
    std::vector<std::string> classes;

    explicit Settings(const DataFolder& data)
        : file(IniDocument::read(data.settingsFile())), list(file.value(kClassSection, kClassNameKey)),
          current(file.value(kClassSection, kDefaultKey).text), classes(splitList(list.text, ",")) {}

    // One item of [Class] changed and the file replaced: each step of an operation
    // is a write of its own, so a stop between two leaves a readable state.
    bool write(std::string_view key, std::string_view value) {
        return file.set(kClassSection, key, value) && file.save();
    }

    // The shown class is still listed under its name: at its place, or elsewhere
    // when another copy changed the classes before it.
    bool lists(const ShownClass& shown) const {
        if (shown.index >= 0 && static_cast<std::size_t>(shown.index) < classes.size() &&
            classes[static_cast<std::size_t>(shown.index)] == shown.name)
            return true;
        return std::find(classes.begin(), classes.end(), shown.name) != classes.end();
    }
};

// The first checks of every operation under the lock: the settings file was read
// and, for an operation on a listed class, that class is still there.
std::optional<Result> checkSettings(const Settings& settings, const ShownClass* shown) {
    if (settings.file.failed()) return readFailure(settings.file.file());
    if (shown && !settings.lists(*shown)) return stop(Outcome::ClassGone, kClassGone);
    return std::nullopt;
}

// A class list that was cut on reading must never be stored back.
std::optional<Result> checkListWhole(const Settings& settings) {
    if (settings.list.cut) return stop(Outcome::Refused, kListTooLongToChange);
    return std::nullopt;
}

std::optional<Message> refuseRename(std::string_view list, std::string_view oldName, std::string_view newName) {
    std::optional<Message> refusal = checkNewClassName(list, newName, oldName);
    if (!refusal) refusal = checkClassListLength(renameClassName(list, oldName, newName));
    return refusal;
}

// The lock of the Data folder, taken once for the whole operation (it is not
// re-entrant). Without it nothing is read for a decision or written.
std::optional<Result> lockRefusal(const platform::FolderLock& lock, const Message& failed) {
    if (lock.held()) return std::nullopt;
    if (lock.notAFile()) return stop(Outcome::Failed, lockNotAFileMessage(lock.file()));
    return stop(Outcome::Failed, lock.busy() ? kDataFolderBusy : failed);
}

} // namespace

Listing readListing(const DataFolder& data) {
    const IniDocument file = IniDocument::read(data.settingsFile());
    Listing listing;
    if (file.failed()) {
        listing.failure = fileNotReadMessage(file.file());
        return listing;
    }
    listing.list = file.value(kClassSection, kClassNameKey).text;
    listing.classes = splitList(listing.list, ",");
    listing.current = file.value(kClassSection, kDefaultKey).text;
    return listing;
}

Result addClass(const DataFolder& data, std::string_view name, bool makeCurrent) {
    if (name.empty()) return stop(Outcome::Refused, kClassNameEmpty);
    const platform::FolderLock lock(data.path());
    if (auto stopped = lockRefusal(lock, kDataNotSaved)) return *stopped;
    Settings settings(data);
    if (auto stopped = checkSettings(settings, nullptr)) return *stopped;
    std::optional<Message> refusal = checkNewClassName(settings.list.text, name);
    if (!refusal) refusal = checkClassListLength(addClassName(settings.list.text, name));
    if (refusal) return stop(Outcome::Refused, *refusal);
    if (auto stopped = checkListWhole(settings)) return *stopped;

    const StoredRoster adopted = loadRoster(data, name);
    if (adopted.state == IniDocument::State::Failed) return readFailure(data.rosterFile(name));
    if (!createRosterFile(data, name) || !settings.write(kClassNameKey, addClassName(settings.list.text, name)) ||
        (makeCurrent && !settings.write(kDefaultKey, name)))
        return stop(Outcome::Failed, kDataNotSaved);

    Result result;
    result.roster = adopted.roster; // an adopted file shows the students it holds
    result.current = makeCurrent;
    return result;
}

Result saveClass(const DataFolder& data, const ShownClass& shown, std::string_view newName, std::string_view rosterText,
                 const ClassRoster& shownRoster, bool overwrite) {
    if (newName.empty()) return stop(Outcome::Refused, kSaveNameEmpty);
    if (auto refusal = checkRosterText(rosterText)) return stop(Outcome::Refused, *refusal);

    const platform::FolderLock lock(data.path());
    if (auto stopped = lockRefusal(lock, kDataNotSaved)) return *stopped;
    Settings settings(data);
    if (auto stopped = checkSettings(settings, &shown)) return *stopped;
    const bool renamed = newName != shown.name;
    std::optional<Message> refusal;
    if (renamed) {
        refusal = refuseRename(settings.list.text, shown.name, newName);
    } else if (!isOwnRosterFileName(shown.name)) {
        // A class from older or hand-edited data whose name would leave the Data
        // folder, or names the settings file or a device: keep it, write nothing.
        refusal = kClassNameInvalid;
    }
    // Rows are checked before anything is written, under a new name too.
    const RosterParse parsed = parseRosterText(rosterText);
    if (refusal) return stop(Outcome::Refused, *refusal);
    if (parsed.refusal) {
        Result result = stop(Outcome::Refused, *parsed.refusal);
        result.refusedLine = parsed.refusedLine;
        return result;
    }
    if (renamed) {
        if (auto stopped = checkListWhole(settings)) return *stopped;
    }

    // The roster the window showed must still be the stored one, unless the teacher chose to overwrite.
    const StoredRoster stored = loadRoster(data, shown.name);
    if (stored.state == IniDocument::State::Failed) return readFailure(data.rosterFile(shown.name));
    if (stored.cut) return stop(Outcome::Refused, kRosterTooLongToSave);
    if (stored.roster != shownRoster && !overwrite) {
        Result result = stop(Outcome::RosterChanged, kRosterChanged);
        result.roster = stored.roster;
        return result;
    }
    if (renamed && loadRoster(data, newName).state == IniDocument::State::Failed)
        return readFailure(data.rosterFile(newName));

    // The new name's file first; then the current class and the class list take the new name.
    const bool current = settings.current == shown.name;
    if (!writeRoster(data, newName, parsed.roster) || (renamed && current && !settings.write(kDefaultKey, newName)) ||
        (renamed && !settings.write(kClassNameKey, renameClassName(settings.list.text, shown.name, newName))) ||
        (current && !settings.write(kDefaultKey, newName)))
        return stop(Outcome::Failed, kDataNotSaved);

    Result result;
    // The roll call gets the roster as it reads back (the dialect drops blanks at the list's ends).
    const StoredRoster back = loadRoster(data, newName);
    result.roster = back.state == IniDocument::State::Read ? back.roster : parsed.roster;
    result.current = current;
    // Under the same lock: the marks files take the new name (moveStudentMarks takes no lock of its own).
    if (renamed && isOwnRosterFileName(shown.name)) result.marksKept = moveStudentMarks(data, shown.name, newName);
    return result;
}

Result deleteClass(const DataFolder& data, const ShownClass& shown) {
    const platform::FolderLock lock(data.path());
    if (auto stopped = lockRefusal(lock, kClassNotDeleted)) return *stopped;
    Settings settings(data);
    if (auto stopped = checkSettings(settings, &shown)) return *stopped;
    if (auto stopped = checkListWhole(settings)) return *stopped;

    Result result;
    result.current = settings.current == shown.name;
    const std::string left = removeClassName(settings.list.text, shown.name);
    result.lastClass = left.empty();
    if ((result.current && !settings.write(kDefaultKey, "")) || !settings.write(kClassNameKey, left))
        return stop(Outcome::Failed, kClassNotDeleted);
    // A hand-edited name that is no roster file of its own ("Config", "../x") deletes no file.
    if (isOwnRosterFileName(shown.name)) {
        if (!deleteRosterFile(data, shown.name)) result.message = kRosterFileNotDeleted;
        result.marksKept = deleteStudentMarks(data, shown.name);
    }
    return result;
}

Result chooseClass(const DataFolder& data, const ShownClass& shown) {
    const platform::FolderLock lock(data.path());
    if (auto stopped = lockRefusal(lock, kDataNotSaved)) return *stopped;
    Settings settings(data);
    if (auto stopped = checkSettings(settings, &shown)) return *stopped;
    if (hasControlCharacter(shown.name)) return stop(Outcome::Refused, kClassNameInvalid);
    const StoredRoster stored = loadRoster(data, shown.name);
    if (stored.state == IniDocument::State::Failed) return readFailure(data.rosterFile(shown.name));
    if (!settings.write(kDefaultKey, shown.name)) return stop(Outcome::Failed, kDataNotSaved);
    Result result;
    result.roster = stored.roster;
    result.current = true;
    return result;
}

} // namespace tallyra::classes
