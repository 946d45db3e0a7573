#include "storage/paths.h"

#include "storage/platform/file_system.h"

#include <system_error>

namespace tallyra {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

struct Locations {
    std::filesystem::path runDirectoryOverride;
    std::optional<std::string> settledDataFolder; // UTF-8
};

Locations& locations() {
    static Locations state;
    return state;
}

std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string joined(std::string folder, std::string_view name) {
    if (!folder.empty() && folder.back() != kSeparator) folder += kSeparator;
    return folder.append(name);
}

bool isInstalledSystemWide(std::string_view runFolder) {
    return runFolder == "/usr" || runFolder.starts_with("/usr/");
}

// Beside the executable the folder may be made; true when it is there and takes new files.
bool usableHere(const std::string& folder) {
    return (platform::isFolder(folder) || platform::makeFolder(folder)) && platform::canWriteInFolder(folder);
}

bool makeFolders(const std::string& path) {
    if (platform::isFolder(path)) return true;
    const std::size_t cut = path.find_last_of(kSeparator);
    if (cut != std::string::npos && cut > 0 && !makeFolders(path.substr(0, cut))) return false;
    return platform::makeFolder(path);
}

// Copies the files of one folder into another, replacing files of the same name.
bool copyFiles(const std::string& from, const std::string& to) {
    bool copiedAll = true;
    for (const std::string& name : platform::filesInFolder(from)) {
        const auto bytes = platform::readFileBytes(pathFromUtf8(joined(from, name)));
        copiedAll = bytes && platform::replaceFileAtomically(pathFromUtf8(joined(to, name)), *bytes) && copiedAll;
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
    for (const std::string& name : platform::filesInFolder(utf8Of(dataFolderPath()))) {
        if (name == fileName) return name;
        if (stored == fileName && sameFileName(name, fileName)) stored = name;
    }
    return stored;
}

std::filesystem::path runDirectory() {
    if (!locations().runDirectoryOverride.empty()) return locations().runDirectoryOverride;
    return platform::executablePath().parent_path();
}

std::filesystem::path dataFolderPath() {
    if (locations().settledDataFolder) return pathFromUtf8(*locations().settledDataFolder);
    return runDirectory() / "Data";
}

std::filesystem::path settingsFilePath() { return dataFolderPath() / "Config.conf"; }

void overrideRunDirectory(const std::filesystem::path& folder) {
    locations().runDirectoryOverride = folder;
    locations().settledDataFolder.reset();
}

std::optional<DataFolderNotice> settleDataFolder() {
    const std::string runFolder = utf8Of(runDirectory());
    const std::string beside = joined(runFolder, "Data");
    std::string& settled = locations().settledDataFolder.emplace(beside);
    if (!isInstalledSystemWide(runFolder) && usableHere(beside)) return std::nullopt;

    const std::string base = platform::userDataBase();
    if (base.empty()) return std::nullopt; // nowhere else to go; failed writes will tell
    const std::string own = joined(joined(base, "Tallyra"), "Data");
    if (platform::isFolder(own)) {
        settled = own;
        return std::nullopt;
    }
    if (!makeFolders(own)) return std::nullopt;
    settled = own;

    DataFolderNotice notice;
    notice.text = "程序所在的文件夹无法写入，班级和设置从现在起保存在：\r\n" + own;
    bool copiedAll = !platform::isFolder(beside) || copyFiles(beside, own);
    const std::string virtualStore = platform::virtualStoreFolder(beside);
    if (!virtualStore.empty() && platform::isFolder(virtualStore)) copiedAll = copyFiles(virtualStore, own) && copiedAll;
    if (!copiedAll) {
        notice.text += "\r\n\r\n原有的数据未能全部复制过来，请将以下文件夹中的文件手动复制过去：\r\n" + beside;
        notice.flags = kWarningOk;
    }
    return notice;
}

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

bool isDirectory(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool makeDirectoryPath(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return isDirectory(path);
}

} // namespace tallyra
