#include "storage/settings.h"

#include "storage/ini_file.h"
#include "storage/paths.h"

namespace tallyra::settings {

std::string classList() {
    return readIniItem(settingsFilePath(), kClassSection, kClassNameKey);
}

bool changeClassList(const std::function<std::optional<std::string>(std::string_view list)>& change) {
    return changeIniItem(settingsFilePath(), kClassSection, kClassNameKey, change);
}

std::string currentClass() {
    return readIniItem(settingsFilePath(), kClassSection, kDefaultKey);
}

bool setCurrentClass(std::string_view className) {
    return writeIniItem(settingsFilePath(), kClassSection, kDefaultKey, className);
}

bool voiceOn() {
    return readIniItem(settingsFilePath(), kSettingsSection, kVoiceKey) == kTrue;
}

bool setVoiceOn(bool on) {
    return writeIniItem(settingsFilePath(), kSettingsSection, kVoiceKey, on ? kTrue : kFalse);
}

std::string hotKey() {
    return readIniItem(settingsFilePath(), kSettingsSection, kHotKeyKey);
}

bool setHotKey(std::string_view name) {
    return writeIniItem(settingsFilePath(), kSettingsSection, kHotKeyKey, name);
}

bool newRoundEachStart() {
    return readIniItem(settingsFilePath(), kSettingsSection, kNewRoundEachStartKey) == kTrue;
}

bool setNewRoundEachStart(bool on) {
    return writeIniItem(settingsFilePath(), kSettingsSection, kNewRoundEachStartKey, on ? kTrue : kFalse);
}

FirstRun prepareFirstRun() {
    if (readIniItem(settingsFilePath(), kSettingsSection, kFirstKey) == kFalse) return FirstRun::NotFirst;
    const auto folder = dataFolderPath();
    if (!isDirectory(folder)) makeDirectoryPath(folder);
    const auto file = settingsFilePath();
    const bool written = writeIniItem(file, kSettingsSection, kFirstKey, kFalse) &&
                         writeIniItem(file, kSettingsSection, kVoiceKey, kFalse) &&
                         writeIniItem(file, kClassSection, kClassNameKey, "");
    return written ? FirstRun::Prepared : FirstRun::WriteFailed;
}

} // namespace tallyra::settings
