// Where the program keeps its files: the Data folder, normally beside the
// executable. The program settles it once at start and hands the value down;
// every file of the folder is reached through it, so tests make one on a
// temporary folder.
#pragma once

#include "base/message_box.h"
#include "storage/file_path.h"

#include <optional>
#include <string>
#include <string_view>

namespace tallyra {

class DataFolder {
public:
    explicit DataFolder(FilePath path) : path_(std::move(path)) {}

    const FilePath& path() const { return path_; }
    // Data/Config.conf.
    FilePath settingsFile() const { return path_ / "Config.conf"; }
    // Data/<class name>.conf, under its stored name (see storedFileName).
    FilePath rosterFile(std::string_view className) const;

    // The name under which a file of the folder is stored: fileName itself, or
    // the name of an existing file that differs from it only in letter case.
    // Windows finds such files by itself; elsewhere this keeps a Data folder
    // copied from Windows working ("A班" finds a班.conf, and a save writes that same file).
    std::string storedFileName(std::string_view fileName) const;

private:
    FilePath path_;
};

// Folder of the running executable (its module file name on Windows, /proc/self/exe on Linux).
FilePath runDirectory();

// The title of what the program tells the user when it has started keeping its data elsewhere.
inline constexpr std::string_view kDataFolderNoticeTitle = "数据保存位置";

struct SettledDataFolder {
    DataFolder folder;
    std::optional<Message> notice; // for this one start
};

// Settles, once per start, where the Data folder of a program in runFolder is.
// Portable use is the normal case: Data stays beside the executable whenever it
// can be created and written there. Otherwise, and always for a program installed
// under /usr, the user's own folder (userDataBase)/Tallyra/Data is used. The start
// that creates that folder first copies into it what the program kept before: the
// Data folder beside the executable, then Windows' VirtualStore copy of it (which
// holds the newer files); it never copies over a user folder that exists. The
// notice comes with that one start (for a program under /usr only when something
// could not be copied). When both folders hold data, the one whose Config.conf was
// written last is used; once the user's folder exists, it remembers the folder of
// the last start, and a start that uses another one says so.
SettledDataFolder settleDataFolder(const FilePath& runFolder);

bool isDirectory(const FilePath& path);

// Creates every missing folder along path; true when it exists afterwards.
bool makeDirectoryPath(const FilePath& path);

} // namespace tallyra
