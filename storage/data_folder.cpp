#include "storage/data_folder.h"

#include "storage/file_names.h"
#include "storage/platform/file_system.h"
#include "storage/platform/file_times.h"

namespace tallyra {
namespace {

bool isInstalledSystemWide(const FilePath& runFolder) {
    return runFolder.utf8() == "/usr" || runFolder.utf8().starts_with("/usr/");
}

// Beside the executable the folder may be made; true when it is there and takes new files.
bool usableHere(const FilePath& folder) {
    return (platform::isFolder(folder) || platform::makeFolder(folder)) && platform::canWriteInFolder(folder);
}

// Copies the files of one folder into another, replacing files of the same name.
bool copyFiles(const FilePath& from, const FilePath& to) {
    bool copiedAll = true;
    for (const std::string& name : platform::filesInFolder(from)) {
        const platform::FileRead read = platform::readFile(from / name);
        copiedAll = read.outcome == platform::ReadOutcome::Read &&
                    platform::replaceFileAtomically(to / name, read.bytes) && copiedAll;
    }
    return copiedAll;
}

} // namespace

std::string DataFolder::storedFileName(std::string_view fileName) const {
    std::string stored(fileName);
    if (platform::isFile(path_ / fileName)) return stored; // also every match on Windows
    for (const std::string& name : platform::filesInFolder(path_)) {
        if (name == fileName) return name;
        if (stored == fileName && sameFileName(name, fileName)) stored = name;
    }
    return stored;
}

FilePath DataFolder::rosterFile(std::string_view className) const {
    return path_ / storedFileName(std::string(className) + ".conf");
}

FilePath runDirectory() {
    return platform::executablePath().parent();
}

namespace {

// Both folders hold data: the one whose settings were written last is the one in use
// (a stick that was read-only one day keeps the classes added in the user's folder).
bool ownIsNewer(const FilePath& beside, const FilePath& own) {
    const auto besideTime = platform::lastWriteTime(beside / "Config.conf");
    const auto ownTime = platform::lastWriteTime(own / "Config.conf");
    return besideTime && ownTime && *ownTime > *besideTime;
}

// The user's folder remembers which Data folder the last start of a program in
// this folder used, so that a change from one start to the next is told. Only a
// user folder that exists keeps it; another program folder is another program.
FilePath lastFolderNote(const FilePath& own) {
    return own.parent() / "last-data-folder.txt";
}

// A Data folder beside the program without settings never wins over the user's
// folder with settings when the last start of this program folder used the
// user's folder: the program folder was not writable then and is now.
bool staysWithOwn(const FilePath& beside, const FilePath& own) {
    if (platform::isFile(beside / "Config.conf") || !platform::isFile(own / "Config.conf")) return false;
    const platform::FileRead last = platform::readFile(lastFolderNote(own));
    return last.outcome == platform::ReadOutcome::Read && last.bytes == beside.utf8() + "\n" + own.utf8();
}

std::optional<Message> noticeOfChange(const FilePath& own, const FilePath& beside, const FilePath& used) {
    const FilePath marker = lastFolderNote(own);
    const std::string now = beside.utf8() + "\n" + used.utf8();
    const platform::FileRead last = platform::readFile(marker);
    if (last.outcome == platform::ReadOutcome::Read && last.bytes == now) return std::nullopt;
    (void)platform::replaceFileAtomically(marker, now);
    const std::string lastBeside = last.bytes.substr(0, last.bytes.find('\n'));
    if (last.outcome != platform::ReadOutcome::Read || lastBeside != beside.utf8()) return std::nullopt;
    return Message::owning(kDataFolderNoticeTitle,
                           "班级和设置的保存位置与上次启动时不同，现在保存在：\r\n" + used.utf8() +
                               "\r\n\r\n上次使用的位置：\r\n" + last.bytes.substr(lastBeside.size() + 1),
                           kInformationOk);
}

} // namespace

SettledDataFolder settleDataFolder(const FilePath& runFolder) {
    const FilePath beside = runFolder / "Data";
    SettledDataFolder settled{DataFolder(beside), std::nullopt};
    const FilePath base = platform::userDataBase();
    const FilePath own = base.empty() ? FilePath() : base / "Tallyra" / "Data";
    const bool ownExists = !own.empty() && platform::isFolder(own);
    // Decided before a Data folder is made beside the program.
    const bool keepOwn = ownExists && staysWithOwn(beside, own);
    if (!isInstalledSystemWide(runFolder) && !keepOwn && usableHere(beside)) {
        if (ownExists && ownIsNewer(beside, own)) settled.folder = DataFolder(own);
        if (ownExists) settled.notice = noticeOfChange(own, beside, settled.folder.path());
        return settled;
    }

    if (base.empty()) return settled; // nowhere else to go; failed writes will tell
    if (ownExists) {
        settled.folder = DataFolder(own);
        settled.notice = noticeOfChange(own, beside, own);
        return settled;
    }
    if (!makeDirectoryPath(own)) return settled;
    settled.folder = DataFolder(own);
    (void)noticeOfChange(own, beside, own); // the move itself is told below

    // A read-only Data folder in a writable program folder is named as such: the teacher looks there.
    const bool onlyDataReadOnly = platform::isFolder(beside) && platform::canWriteInFolder(runFolder);
    std::string text =
        std::string(onlyDataReadOnly ? "程序所在文件夹中的 Data 文件夹无法写入" : "程序所在的文件夹无法写入") +
        "，班级和设置从现在起保存在：\r\n" + own.utf8();
    bool copiedAll = !platform::isFolder(beside) || copyFiles(beside, own);
    const FilePath virtualStore = platform::virtualStoreFolder(beside);
    if (!virtualStore.empty() && platform::isFolder(virtualStore))
        copiedAll = copyFiles(virtualStore, own) && copiedAll;
    if (!copiedAll) {
        text += "\r\n\r\n原有的数据未能全部复制过来，请将以下文件夹中的文件手动复制过去：\r\n" + beside.utf8();
    }
    // An installed program keeps its data in the user's folder as a matter of course.
    if (!isInstalledSystemWide(runFolder) || !copiedAll)
        settled.notice = Message::owning(kDataFolderNoticeTitle, text, copiedAll ? kInformationOk : kWarningOk);
    return settled;
}

bool isDirectory(const FilePath& path) {
    return !path.empty() && platform::isFolder(path);
}

// Parents are made only when the folder itself cannot be: a share's root
// (\\server\share) is a folder that no one can create.
bool makeDirectoryPath(const FilePath& path) {
    if (path.empty()) return false;
    if (platform::isFolder(path) || platform::makeFolder(path)) return true;
    const FilePath parent = path.parent();
    if (parent.empty() || parent == path || platform::isFolder(parent) || !makeDirectoryPath(parent)) return false;
    return platform::makeFolder(path);
}

} // namespace tallyra
