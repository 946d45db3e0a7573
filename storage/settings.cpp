#include "storage/settings.h"

#include "storage/ini_file.h"
#include "storage/paths.h"

namespace tallyra {

void checkFirstRun(MessageBoxes& boxes) {
    if (readIniItem(settingsFilePath(), kSettingsSection, kFirstKey) == kFalse) return;
    const auto folder = dataFolderPath();
    if (!isDirectory(folder)) makeDirectoryPath(folder);
    const auto file = settingsFilePath();
    const bool written = writeIniItem(file, kSettingsSection, kFirstKey, kFalse) &&
                         writeIniItem(file, kSettingsSection, kVoiceKey, kFalse) &&
                         writeIniItem(file, kClassSection, kClassNameKey, "");
    boxes.showMessage(written ? kFirstRunNotice : kDataNotSaved);
}

} // namespace tallyra
