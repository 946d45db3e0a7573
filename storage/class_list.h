// The class list ClassName: class names joined by "," in order of creation.
// A class name is also the base name of its roster file in the Data folder.
#pragma once

#include "base/message_box.h"

#include <optional>
#include <string>
#include <string_view>

namespace tallyra {

std::string addClassName(std::string_view list, std::string_view name);
std::string removeClassName(std::string_view list, std::string_view name);
std::string renameClassName(std::string_view list, std::string_view oldName, std::string_view newName);

inline constexpr Message kClassNameInvalid{
    "班级名称无效",
    "班级名称不能包含 \\ / : * ? \" < > | "
    "等字符，不能以空格开头或以空格、句点结尾，也不能是系统保留的名称，请重新输入！",
    kErrorOk};
inline constexpr Message kClassNameTooLong{"班级名称过长", "班级名称不能超过50个字，请重新输入！", kErrorOk};
inline constexpr Message kClassListFull{"班级过多", "班级数量已达上限，无法再加入新的班级！", kErrorOk};
inline constexpr Message kClassNameWithComma{"输入有误", "班级名称不允许带有半角逗号，请重试！", kErrorOk};
// The first title is the one the program has always shown when the list holds a single class.
inline constexpr Message kClassNameTakenSingle{"班名名称重复", "发现了已有的班级名称，请更换新的名字后重试！",
                                               kErrorOk};
inline constexpr Message kClassNameTaken{"班级名称重复", "发现了已有的班级名称，请更换新的名字后重试！", kErrorOk};
// A name holding a character that the data files cannot store: the refusal names it.
Message classNameUnstorable(std::string_view character);

// Refuses a name that cannot be a roster file of its own in the Data folder: the
// settings file's own name (in any capitals), characters a file name cannot hold,
// "." and "..", blanks at either end or a dot at the end, and the names Windows
// takes for devices in all their forms. Names longer than kClassNameMaxCharacters
// characters are refused too: with ".conf" and the temporary file of a save they
// must stay within the file system's name limit. So is a name with a character the
// class list's file encoding cannot store. An empty name is the caller's own check.
inline constexpr std::size_t kClassNameMaxCharacters = 50;
std::optional<Message> checkClassName(std::string_view name);

// Every check a name must pass to join the class list, in the order the teacher
// sees the refusals: a comma, a name that names the same file as another listed
// class (as Windows compares file names, so "A班" and "a班" are one), then
// checkClassName. With renamedFrom, the name replaces that class in the list: a
// case variant of its own name is then allowed and keeps its one file.
std::optional<Message> checkNewClassName(std::string_view classList, std::string_view name,
                                         std::optional<std::string_view> renamedFrom = std::nullopt);

// True when a roster file of this name may be written or deleted: an existing
// class, perhaps from older or hand-edited data, keeps working whatever its name,
// unless the name would leave the Data folder, names the settings file or a device.
bool isOwnRosterFileName(std::string_view className);

// Refuses a new class list that would not read back whole.
std::optional<Message> checkClassListLength(std::string_view newList);

} // namespace tallyra
