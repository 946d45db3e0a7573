#include "storage/float_button_settings.h"

#include "storage/ini_file.h"
#include "storage/settings.h"

namespace tallyra::settings {

bool floatButton(const DataFolder& data) {
    return readIniItem(data.settingsFile(), kSettingsSection, kFloatButtonKey) == kTrue;
}

bool setFloatButton(const DataFolder& data, bool on) {
    return writeIniItem(data.settingsFile(), kSettingsSection, kFloatButtonKey, on ? kTrue : kFalse);
}

std::string floatButtonPlace(const DataFolder& data) {
    return readIniItem(data.settingsFile(), kSettingsSection, kFloatButtonPlaceKey);
}

bool setFloatButtonPlace(const DataFolder& data, std::string_view place) {
    return writeIniItem(data.settingsFile(), kSettingsSection, kFloatButtonPlaceKey, place);
}

} // namespace tallyra::settings
