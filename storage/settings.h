// The settings file Data/Config.conf: first-run marker, speech switch, class list
// and current class, each behind a named function that knows its section, key and
// default. Nothing is cached: every call reads or writes the file anew, so the
// file is where the windows share these. Changes of the class list and the current
// class go through storage/classes, which keeps their order with the roster files.
#pragma once

#include "base/message_box.h"
#include "storage/data_folder.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

// The file's items, for code that checks the file itself (tests, tools).
inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kFirstKey = "First";
inline constexpr std::string_view kVoiceKey = "Voice";
inline constexpr std::string_view kHotKeyKey = "HotKey"; // new: older copies ignore it
inline constexpr std::string_view kClassSection = "Class";
inline constexpr std::string_view kClassNameKey = "ClassName";
inline constexpr std::string_view kDefaultKey = "Default";
// A new item, which older copies ignore: "True" brings back a new round at every start and class choice.
inline constexpr std::string_view kNewRoundEachStartKey = "NewRoundEachStart";
inline constexpr std::string_view kTrue = "True";
inline constexpr std::string_view kFalse = "False";

// Every failed write of the settings file or a roster file ends in this message,
// and the operation stops there.
inline constexpr Message kDataNotSaved{
    "保存失败",
    "数据未能保存：无法写入 Data "
    "文件夹中的文件。请确认该文件夹不是只读的、文件未被其他程序占用且磁盘空间充足，然后重试！",
    kErrorOk};

// A file that exists but could not be read (held by another program, no rights,
// not a regular file): the operation stops there and writes nothing.
Message fileNotReadMessage(const FilePath& file);

namespace settings {

// ClassName: the class names joined by "," in the order they were added.
std::string classList(const DataFolder& data);
// Default: the current class; empty when none is.
std::string currentClass(const DataFolder& data);

// Voice: speech is on only when it is exactly "True".
bool voiceOn(const DataFolder& data);
// False (nothing written) when the file could not be read or written.
[[nodiscard]] bool setVoiceOn(const DataFolder& data, bool on);

// HotKey: the global hot key's name ("F9", "Ctrl+Alt+R"); empty when never chosen.
std::string hotKey(const DataFolder& data);
[[nodiscard]] bool setHotKey(const DataFolder& data, std::string_view name);
// MultiDrawCount: how many students the several-at-once window draws; 0 when never set.
inline constexpr std::string_view kMultiDrawCountKey = "MultiDrawCount"; // new: older copies ignore it
std::size_t multiDrawCount(const DataFolder& data);
[[nodiscard]] bool setMultiDrawCount(const DataFolder& data, std::size_t count);
// NewRoundEachStart: off unless exactly "True".
bool newRoundEachStart(const DataFolder& data);
[[nodiscard]] bool setNewRoundEachStart(const DataFolder& data, bool on);

enum class FirstRun {
    NotFirst,    // First is exactly "False"
    Prepared,    // the Data folder and a settings file for a first start are made
    WriteFailed, // they could not be: the next start tries again
    ReadFailed,  // the settings file exists but could not be read: nothing is written
};
// Unless First is exactly "False": creates the Data folder and writes
// First="False", Voice="False" and an empty ClassName, in that order.
FirstRun prepareFirstRun(const DataFolder& data);

} // namespace settings
} // namespace tallyra
