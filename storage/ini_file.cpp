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

bool isInAFolder(const FilePath& file) {
    return platform::isFolder(file.parent());
}

} // namespace

IniDocument IniDocument::read(const FilePath& file) {
    IniDocument document;
    document.file_ = file;
    platform::FileRead read = platform::readFile(file);
    switch (read.outcome) {
    case platform::ReadOutcome::Missing:
        break;
    case platform::ReadOutcome::Read:
        // Through a link only a target that reads as INI text is ours to change.
        if (platform::linkStateOf(file) != platform::LinkState::NotALink && !ini::readsAsIniText(read.bytes)) {
            document.state_ = State::Failed;
            break;
        }
        document.state_ = State::Read;
        document.bytes_ = normaliseFileBytes(read.bytes);
        break;
    case platform::ReadOutcome::Failed:
        document.state_ = State::Failed;
        break;
    }
    return document;
}

IniDocument::Value IniDocument::value(std::string_view section, std::string_view key) const {
    const auto value = ini::findValue(bytes_, encodeForFile(section), encodeForFile(key));
    if (!value) return {};
    return {decodeFromFile(cutFileBytes(*value, kIniValueLimit)), value->size() > kIniValueLimit};
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    if (section.find_first_of("\r\n]") != std::string_view::npos ||
        key.find_first_of("\r\n=") != std::string_view::npos || !fitsIniValue(value))
        return false;
    bytes_ = ini::withValue(bytes_, encodeForFile(section), encodeForFile(key), encodeForFile(value));
    return true;
}

bool IniDocument::save() const {
    return !failed() && readsBackAsWritten(bytes_) && isInAFolder(file_) &&
           platform::replaceFileAtomically(file_, bytes_, ini::readsAsIniText);
}

std::string readIniItem(const FilePath& file, std::string_view section, std::string_view key) {
    return readIniItems(file, section, {key}).front();
}

std::vector<std::string> readIniItems(const FilePath& file, std::string_view section,
                                      std::initializer_list<std::string_view> keys) {
    std::vector<std::string> values(keys.size());
    const FilePath path = trimmedPath(file);
    section = skipLeadingControlBytes(section);
    if (path.empty() || section.empty()) return values;
    std::optional<IniDocument> document;
    std::size_t index = 0;
    for (std::string_view key : keys) {
        key = skipLeadingControlBytes(key);
        if (!key.empty()) {
            if (!document) document = IniDocument::read(path);
            values[index] = document->value(section, key).text;
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
    if (!lock.held()) return false;
    IniDocument document = IniDocument::read(file);
    for (const IniItem& item : items)
        if (!document.set(section, item.key, item.value)) return false;
    return document.save();
}

bool changeIniItem(const FilePath& file, std::string_view section, std::string_view key,
                   const std::function<std::optional<std::string>(std::string_view value)>& change) {
    if (section.find_first_of("\r\n]") != std::string_view::npos ||
        key.find_first_of("\r\n=") != std::string_view::npos || !isInAFolder(file))
        return false;
    platform::FolderLock lock(file.parent());
    if (!lock.held()) return false;
    IniDocument document = IniDocument::read(file);
    if (document.failed()) return false;
    const std::optional<std::string> changed = change(document.value(section, key).text);
    if (!changed) return true;
    return document.set(section, key, *changed) && document.save();
}

} // namespace tallyra
