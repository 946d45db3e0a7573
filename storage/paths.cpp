#include "storage/paths.h"

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

// The next code point of UTF-8 text; a byte that starts no valid sequence stands for itself.
char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length <= 1 || at + length > text.size()) {
        ++at;
        return lead;
    }
    char32_t point = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return lead;
        }
        point = (point << 6) | (byte(at + i) & 0x3F);
    }
    at += length;
    return point;
}

// Upper case of the letters file names hold in practice, as Windows compares file
// names: ASCII, Latin-1 and Latin Extended-A, Greek, Cyrillic and the full-width forms.
char32_t upperCase(char32_t c) {
    const auto in = [c](char32_t first, char32_t last) { return c >= first && c <= last; };
    if (in(U'a', U'z') || (in(0xE0, 0xFE) && c != 0xF7) || in(0x3B1, 0x3C1) || in(0x3C3, 0x3CB) || in(0x430, 0x44F) ||
        in(0xFF41, 0xFF5A))
        return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c == 0x3C2) return 0x3A3; // final sigma
    if (c == 0x3AC) return 0x386;
    if (in(0x3AD, 0x3AF)) return c - 0x25;
    if (c == 0x3CC) return 0x38C;
    if (in(0x3CD, 0x3CE)) return c - 0x3F;
    if (in(0x450, 0x45F)) return c - 0x50;
    // Pairs of upper (even) and lower (odd) case, or the other way round.
    if ((in(0x100, 0x137) || in(0x14A, 0x177) || in(0x460, 0x481) || in(0x48A, 0x4BF) || in(0x4D0, 0x52F)) && c % 2 == 1)
        return c - 1;
    if ((in(0x139, 0x148) || in(0x179, 0x17E) || in(0x4C1, 0x4CE)) && c % 2 == 0) return c - 1;
    return c;
}

bool sameFileName(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (upperCase(nextCodePoint(a, i)) != upperCase(nextCodePoint(b, j))) return false;
    return i == a.size() && j == b.size();
}

} // namespace

std::string storedFileName(std::string_view fileName) {
    std::string stored(fileName);
    for (const std::string& name : platform::filesInFolder(dataFolderPath())) {
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

FilePath settingsFilePath() { return dataFolderPath() / "Config.conf"; }

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
    if (!virtualStore.empty() && platform::isFolder(virtualStore)) copiedAll = copyFiles(virtualStore, own) && copiedAll;
    if (!copiedAll) {
        notice.text += "\r\n\r\n原有的数据未能全部复制过来，请将以下文件夹中的文件手动复制过去：\r\n" + beside.utf8();
        notice.flags = kWarningOk;
    }
    return notice;
}

bool isDirectory(const FilePath& path) { return !path.empty() && platform::isFolder(path); }

bool makeDirectoryPath(const FilePath& path) {
    if (path.empty() || platform::isFolder(path)) return !path.empty();
    const FilePath parent = path.parent();
    if (!parent.empty() && parent != path && !makeDirectoryPath(parent)) return false;
    return platform::makeFolder(path);
}

} // namespace tallyra
