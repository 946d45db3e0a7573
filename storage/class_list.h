// The class list ClassName: class names joined by "," in order of creation.
// A class name is also the base name of its roster file in the Data folder.
#pragma once

#include "storage/message_box.h"

#include <optional>
#include <string>
#include <string_view>

namespace tallyra {

std::string addClassName(std::string_view list, std::string_view name);
std::string removeClassName(std::string_view list, std::string_view name);
std::string renameClassName(std::string_view list, std::string_view oldName, std::string_view newName);

inline constexpr Message kClassNameInvalid{
    "班级名称无效",
    "班级名称不能包含 \\ / : * ? \" < > | 等字符，不能以空格开头或以空格、句点结尾，也不能是系统保留的名称，请重新输入！",
    kErrorOk};
inline constexpr Message kClassNameTooLong{"班级名称过长", "班级名称不能超过50个字，请重新输入！", kErrorOk};
inline constexpr Message kClassListFull{"班级过多", "班级数量已达上限，无法再加入新的班级！", kErrorOk};

// Refuses a name that cannot be a roster file of its own in the Data folder: the
// settings file's own name, characters a file name cannot hold, "." and "..",
// blanks at either end or a dot at the end, and the reserved device names.
// Names longer than kClassNameMaxCharacters are refused too: with ".conf" and the
// temporary file of a save they must stay within the file system's name limit.
// Empty names, commas and duplicates are the caller's own checks.
inline constexpr std::size_t kClassNameMaxCharacters = 50;
std::optional<Message> checkClassName(std::string_view name);

// Refuses a new class list that would not read back whole.
std::optional<Message> checkClassListLength(std::string_view newList);

} // namespace tallyra
