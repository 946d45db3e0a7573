#include "storage/settings.h"

#include <charconv>

#include "storage/ini_file.h"
#include "storage/platform/file_system.h"

namespace tallyra {

Message fileNotReadMessage(const FilePath& file) {
    std::string name = file.utf8().substr(file.parent().utf8().size());
    if (!name.empty() && (name.front() == '/' || name.front() == '\\')) name.erase(0, 1);
    return Message::owning(
        "读取失败",
        "无法读取 Data 文件夹中的文件 " + name +
            "，该文件可能正被其他程序占用或没有读取权限。为保护其中的数据，本次操作未写入任何内容，请稍后重试！",
        kErrorOk);
}

namespace settings {

std::string classList(const DataFolder& data) {
    return readIniItem(data.settingsFile(), kClassSection, kClassNameKey);
}

std::string currentClass(const DataFolder& data) {
    return readIniItem(data.settingsFile(), kClassSection, kDefaultKey);
}

bool voiceOn(const DataFolder& data) {
    return readIniItem(data.settingsFile(), kSettingsSection, kVoiceKey) == kTrue;
}

bool setVoiceOn(const DataFolder& data, bool on) {
    return writeIniItem(data.settingsFile(), kSettingsSection, kVoiceKey, on ? kTrue : kFalse);
}

std::string hotKey(const DataFolder& data) {
    return readIniItem(data.settingsFile(), kSettingsSection, kHotKeyKey);
}

bool setHotKey(const DataFolder& data, std::string_view name) {
    return writeIniItem(data.settingsFile(), kSettingsSection, kHotKeyKey, name);
}

std::size_t multiDrawCount(const DataFolder& data) {
    const std::string text = readIniItem(data.settingsFile(), kSettingsSection, kMultiDrawCountKey);
    std::size_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return error == std::errc() && end == text.data() + text.size() ? count : 0;
}

bool setMultiDrawCount(const DataFolder& data, std::size_t count) {
    return writeIniItem(data.settingsFile(), kSettingsSection, kMultiDrawCountKey, std::to_string(count));
}

bool newRoundEachStart(const DataFolder& data) {
    return readIniItem(data.settingsFile(), kSettingsSection, kNewRoundEachStartKey) == kTrue;
}

bool setNewRoundEachStart(const DataFolder& data, bool on) {
    return writeIniItem(data.settingsFile(), kSettingsSection, kNewRoundEachStartKey, on ? kTrue : kFalse);
}

FirstRun prepareFirstRun(const DataFolder& data) {
    const FilePath file = data.settingsFile();
    const IniDocument stored = IniDocument::read(file);
    // Only a file inside a Data folder can hold settings: behind a file or a link loop there is none.
    if (stored.failed() && isDirectory(data.path())) return FirstRun::ReadFailed;
    if (stored.value(kSettingsSection, kFirstKey).text == kFalse) return FirstRun::NotFirst;
    if (!isDirectory(data.path())) makeDirectoryPath(data.path());

    // The read that decides the writes again under the lock: a second copy starting
    // at the same moment may have prepared the file and chosen a class since.
    const platform::FolderLock lock(data.path());
    if (!lock.held()) return FirstRun::WriteFailed;
    IniDocument document = IniDocument::read(file);
    if (document.failed()) return FirstRun::ReadFailed;
    if (document.value(kSettingsSection, kFirstKey).text == kFalse) return FirstRun::NotFirst;
    // One replace per item, in this order.
    const bool written = document.set(kSettingsSection, kFirstKey, kFalse) && document.save() &&
                         document.set(kSettingsSection, kVoiceKey, kFalse) && document.save() &&
                         document.set(kClassSection, kClassNameKey, "") && document.save();
    return written ? FirstRun::Prepared : FirstRun::WriteFailed;
}

} // namespace settings
} // namespace tallyra
