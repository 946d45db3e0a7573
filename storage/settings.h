// The settings file Data/Config.conf: first-run marker, speech switch, class list
// and current class. Nothing is cached; every reader reads the item when it needs it.
#pragma once

#include "storage/message_box.h"

#include <string_view>

namespace tallyra {

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kFirstKey = "First";
inline constexpr std::string_view kVoiceKey = "Voice";
inline constexpr std::string_view kClassSection = "Class";
inline constexpr std::string_view kClassNameKey = "ClassName";
inline constexpr std::string_view kDefaultKey = "Default";

inline constexpr std::string_view kTrue = "True";
inline constexpr std::string_view kFalse = "False";

inline constexpr Message kFirstRunNotice{
    "首次运行", "您可能是首次使用，在使用此软件之前，建议您先添加班级！请在设置中选择班级管理添加班级！", kInformationOk};

// Every failed write of the settings file or a roster file ends in this message,
// and the operation stops there.
inline constexpr Message kDataNotSaved{
    "保存失败",
    "数据未能保存：无法写入 Data 文件夹中的文件。请确认该文件夹不是只读的、文件未被其他程序占用且磁盘空间充足，然后重试！",
    kErrorOk};

// Unless First is exactly "False": creates the Data folder, writes First="False",
// Voice="False" and an empty ClassName (in that order) and shows the first-run
// notice; when a write fails, shows kDataNotSaved instead.
void checkFirstRun(MessageBoxes& boxes);

} // namespace tallyra
