#include "storage/ini_file.h"

#include "storage/ini_dialect.h"
#include "storage/platform/file_system.h"
#include "storage/text_encoding.h"

namespace tallyra {
namespace {

template <typename Text> Text skipLeadingControlBytes(Text text) {
    std::size_t skip = 0;
    while (skip < text.size() && static_cast<unsigned char>(text[skip]) >= 0x01 &&
           static_cast<unsigned char>(text[skip]) <= 0x20)
        ++skip;
    return text.substr(skip);
}

FilePath trimmedPath(const FilePath& file) {
    return FilePath(skipLeadingControlBytes(file.utf8()));
}

} // namespace

bool fitsIniValue(std::string_view value) {
    return value.find_first_of("\r\n") == std::string_view::npos && fileByteLength(value) <= kIniValueLimit &&
           storesAsItself(value);
}

namespace {

std::string valueIn(std::string_view fileBytes, std::string_view section, std::string_view key) {
    const auto value = ini::findValue(fileBytes, encodeForFile(section), encodeForFile(key));
    return value ? decodeFromFile(cutFileBytes(*value, kIniValueLimit)) : std::string();
}

bool isInAFolder(const FilePath& file) {
    return platform::isFolder(file.parent());
}

} // namespace

std::string readIniItem(const FilePath& file, std::string_view section, std::string_view key) {
    return readIniItems(file, section, {key}).front();
}

std::vector<std::string> readIniItems(const FilePath& file, std::string_view section,
                                      std::initializer_list<std::string_view> keys) {
    std::vector<std::string> values(keys.size());
    const FilePath path = trimmedPath(file);
    section = skipLeadingControlBytes(section);
    if (path.empty() || section.empty()) return values;
    std::optional<std::string> bytes;
    std::size_t index = 0;
    for (std::string_view key : keys) {
        key = skipLeadingControlBytes(key);
        if (!key.empty()) {
            if (!bytes) bytes = normaliseFileBytes(platform::readFileBytes(path).value_or(std::string()));
            values[index] = valueIn(*bytes, section, key);
        }
        ++index;
    }
    return values;
}

bool writeIniItem(const FilePath& file, std::string_view section, std::string_view key, std::string_view value) {
    return writeIniItems(file, section, {{key, value}});
}

bool writeIniItems(const FilePath& file, std::string_view section, std::initializer_list<IniItem> items) {
    if (section.find_first_of("\r\n]") != std::string_view::npos) return false;
    for (const IniItem& item : items)
        if (!fitsIniValue(item.value) || item.key.find_first_of("\r\n=") != std::string_view::npos) return false;
    if (!isInAFolder(file)) return false;

    // Read, change and replace under one lock, so a write by another copy of the
    // program between our read and our replace cannot be lost.
    platform::FolderLock lock(file.parent());
    std::string bytes = normaliseFileBytes(platform::readFileBytes(file).value_or(std::string()));
    const std::string fileSection = encodeForFile(section);
    for (const IniItem& item : items)
        bytes = ini::withValue(bytes, fileSection, encodeForFile(item.key), encodeForFile(item.value));
    return platform::replaceFileAtomically(file, bytes);
}

bool changeIniItem(const FilePath& file, std::string_view section, std::string_view key,
                   const std::function<std::optional<std::string>(std::string_view value)>& change) {
    if (section.find_first_of("\r\n]") != std::string_view::npos ||
        key.find_first_of("\r\n=") != std::string_view::npos || !isInAFolder(file))
        return false;
    platform::FolderLock lock(file.parent());
    const std::string bytes = normaliseFileBytes(platform::readFileBytes(file).value_or(std::string()));
    const std::optional<std::string> changed = change(valueIn(bytes, section, key));
    if (!changed) return true;
    if (!fitsIniValue(*changed)) return false;
    return platform::replaceFileAtomically(
        file, ini::withValue(bytes, encodeForFile(section), encodeForFile(key), encodeForFile(*changed)));
}

} // namespace tallyra
