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

} // namespace

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
