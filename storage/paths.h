// Where the program keeps its files: the Data folder, normally beside the
// executable. Paths are built anew for every access.
#pragma once

#include "base/message_box.h"
#include "storage/file_path.h"

#include <optional>
#include <string>
#include <string_view>

namespace tallyra {

// Folder of the running executable (its module file name on Windows, /proc/self/exe on Linux).
FilePath runDirectory();
FilePath dataFolderPath();
FilePath settingsFilePath();

// Tests and tools point the program at another folder; an empty path restores the
// executable's own. The Data folder is then settled anew.
void overrideRunDirectory(const FilePath& folder);

// What the program tells the user when it has started keeping its data elsewhere.
struct DataFolderNotice {
    std::string text;
    unsigned flags = kInformationOk;
    Message message() const { return {"数据保存位置", text, flags}; }
};

// Settles, once per start, where the Data folder is. Portable use is the normal
// case: Data stays beside the executable whenever it can be created and written
// there. Otherwise, and always for a program installed under /usr, the user's own
// folder (userDataBase)/Tallyra/Data is used. The start that creates that folder
// first copies into it what the program kept before: the Data folder beside the
// executable, then Windows' VirtualStore copy of it (which holds the newer files);
// it never copies over a user folder that exists. Returns the notice for that one
// start (for a program under /usr only when something could not be copied); every
// other start returns nothing.
std::optional<DataFolderNotice> settleDataFolder();

// The name under which a file of the Data folder is stored: fileName itself, or
// the name of an existing file that differs from it only in letter case. Windows
// finds such files by itself; elsewhere this keeps a Data folder copied from
// Windows working ("A班" finds a班.conf, and a save writes that same file).
std::string storedFileName(std::string_view fileName);

bool isDirectory(const FilePath& path);

// Creates every missing folder along path; true when it exists afterwards.
bool makeDirectoryPath(const FilePath& path);

} // namespace tallyra
