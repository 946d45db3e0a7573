#include "storage/paths.h"

#include "storage/platform/file_system.h"

#include <system_error>

namespace tallyra {
namespace {

std::filesystem::path& runDirectoryOverride() {
    static std::filesystem::path folder;
    return folder;
}

} // namespace

std::filesystem::path runDirectory() {
    if (!runDirectoryOverride().empty()) return runDirectoryOverride();
    return platform::executablePath().parent_path();
}

std::filesystem::path dataFolderPath() {
    return runDirectory() / "Data";
}

std::filesystem::path settingsFilePath() {
    return dataFolderPath() / "Config.conf";
}

void overrideRunDirectory(const std::filesystem::path& folder) {
    runDirectoryOverride() = folder;
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
