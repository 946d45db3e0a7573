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
    document.state_ = read.outcome;
    // Through a link only a target that reads as INI text is ours to change.
    if (read.outcome == ReadState::Read && platform::linkStateOf(file) != platform::LinkState::NotALink &&
        !ini::readsAsIniText(read.bytes))
        document.state_ = ReadState::Failed;
    if (document.state_ == ReadState::Read) document.bytes_ = normaliseFileBytes(read.bytes);
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
    const FilePath path = trimmedPath(file);
    section = skipLeadingControlBytes(section);
    key = skipLeadingControlBytes(key);
    if (path.empty() || section.empty() || key.empty()) return {};
    return IniDocument::read(path).value(section, key).text;
}

bool writeIniItem(const FilePath& file, std::string_view section, std::string_view key, std::string_view value) {
    if (!isInAFolder(file)) return false;
    // Read, change and replace under one lock, so a write by another copy of the
    // program between our read and our replace cannot be lost.
    const platform::FolderLock lock(file.parent());
    if (!lock.held()) return false;
    IniDocument document = IniDocument::read(file);
    return document.set(section, key, value) && document.save();
}

} // namespace tallyra
