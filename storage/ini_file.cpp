#include "storage/ini_file.h"

#include "storage/ini_dialect.h"
#include "storage/platform/file_system.h"
#include "storage/text_encoding.h"

#include <system_error>

namespace tallyra {
namespace {

template <typename Text> Text skipLeadingControlBytes(Text text) {
    std::size_t skip = 0;
    while (skip < text.size() && static_cast<unsigned char>(text[skip]) >= 0x01 &&
           static_cast<unsigned char>(text[skip]) <= 0x20)
        ++skip;
    return text.substr(skip);
}

std::filesystem::path trimmedPath(const std::filesystem::path& file) {
    const auto& native = file.native();
    std::size_t skip = 0;
    while (skip < native.size() && native[skip] >= 0x01 && native[skip] <= 0x20) ++skip;
    return skip == 0 ? file : std::filesystem::path(native.substr(skip));
}

} // namespace

bool fitsIniValue(std::string_view value) {
    return value.find_first_of("\r\n") == std::string_view::npos && fileByteLength(value) <= kIniValueLimit;
}

std::string readIniItem(const std::filesystem::path& file, std::string_view section, std::string_view key) {
    const std::filesystem::path path = trimmedPath(file);
    section = skipLeadingControlBytes(section);
    key = skipLeadingControlBytes(key);
    if (path.empty() || section.empty() || key.empty()) return {};

    const auto raw = platform::readFileBytes(path);
    if (!raw) return {};
    const std::string bytes = normaliseFileBytes(*raw);
    const auto value = ini::findValue(bytes, encodeForFile(section), encodeForFile(key));
    if (!value) return {};
    return decodeFromFile(cutFileBytes(*value, kIniValueLimit));
}

bool writeIniItem(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::string_view value) {
    return writeIniItems(file, section, {{key, value}});
}

bool writeIniItems(const std::filesystem::path& file, std::string_view section, std::initializer_list<IniItem> items) {
    if (section.find_first_of("\r\n]") != std::string_view::npos) return false;
    for (const IniItem& item : items)
        if (!fitsIniValue(item.value) || item.key.find_first_of("\r\n=") != std::string_view::npos) return false;
    // The overload without error_code throws on a folder it cannot examine (a link loop, no access).
    std::error_code error;
    if (!std::filesystem::is_directory(file.parent_path().empty() ? "." : file.parent_path(), error)) return false;

    // Read, change and replace under one lock, so a write by another copy of the
    // program between our read and our replace cannot be lost.
    platform::FolderLock lock(file.parent_path());
    std::string bytes = normaliseFileBytes(platform::readFileBytes(file).value_or(std::string()));
    const std::string fileSection = encodeForFile(section);
    for (const IniItem& item : items)
        bytes = ini::withValue(bytes, fileSection, encodeForFile(item.key), encodeForFile(item.value));
    return platform::replaceFileAtomically(file, bytes);
}

} // namespace tallyra
