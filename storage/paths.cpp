#include "storage/paths.h"

#include "storage/file_names.h"
#include "storage/platform/file_system.h"

namespace tallyra {
namespace {

struct Locations {
    FilePath runDirectoryOverride;
    std::optional<FilePath> settledDataFolder;
};

Locations& locations() {
    static Locations state;
    return state;
}

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
        const auto bytes = platform::readFileBytes(from / name);
        copiedAll = bytes && platform::replaceFileAtomically(to / name, *bytes) && copiedAll;
    }
    return copiedAll;
}

} // namespace

std::string storedFileName(std::string_view fileName) {
    std::string stored(fileName);
    const FilePath folder = dataFolderPath();
    if (platform::isFile(folder / fileName)) return stored; // also every match on Windows
    for (const std::string& name : platform::filesInFolder(folder)) {
        if (name == fileName) return name;
        if (stored == fileName && sameFileName(name, fileName)) stored = name;
    }
    return stored;
}

FilePath runDirectory() {
    if (!locations().runDirectoryOverride.empty()) return locations().runDirectoryOverride;
    return platform::executablePath().parent();
}

FilePath dataFolderPath() {
    if (locations().settledDataFolder) return *locations().settledDataFolder;
    return runDirectory() / "Data";
}

FilePath settingsFilePath() {
    return dataFolderPath() / "Config.conf";
}

void overrideRunDirectory(const FilePath& folder) {
    locations().runDirectoryOverride = folder;
    locations().settledDataFolder.reset();
}

std::optional<DataFolderNotice> settleDataFolder() {
    const FilePath runFolder = runDirectory();
    const FilePath beside = runFolder / "Data";
    FilePath& settled = locations().settledDataFolder.emplace(beside);
    if (!isInstalledSystemWide(runFolder) && usableHere(beside)) return std::nullopt;

    const FilePath base = platform::userDataBase();
    if (base.empty()) return std::nullopt; // nowhere else to go; failed writes will tell
    const FilePath own = base / "Tallyra" / "Data";
    if (platform::isFolder(own)) {
        settled = own;
        return std::nullopt;
    }
    if (!makeDirectoryPath(own)) return std::nullopt;
    settled = own;

    DataFolderNotice notice;
    notice.text = "程序所在的文件夹无法写入，班级和设置从现在起保存在：\r\n" + own.utf8();
    bool copiedAll = !platform::isFolder(beside) || copyFiles(beside, own);
    const FilePath virtualStore = platform::virtualStoreFolder(beside);
    if (!virtualStore.empty() && platform::isFolder(virtualStore))
        copiedAll = copyFiles(virtualStore, own) && copiedAll;
    if (!copiedAll) {
        notice.text += "\r\n\r\n原有的数据未能全部复制过来，请将以下文件夹中的文件手动复制过去：\r\n" + beside.utf8();
        notice.flags = kWarningOk;
    }
    // An installed program keeps its data in the user's folder as a matter of course.
    if (isInstalledSystemWide(runFolder) && copiedAll) return std::nullopt;
    return notice;
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
