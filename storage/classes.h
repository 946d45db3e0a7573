// The class operations: add, save, save under a new name, delete and choose a
// class. Each is one call that takes the Data folder's lock once, re-reads and
// re-checks under it what the window showed (another copy of the program may have
// changed the files since), writes in the order that leaves a readable state at
// every step, and returns a result for the window to show. Windows never sequence
// storage writes themselves.
//
// Write order: a roster file is written before the class list names it, so a stop
// between two writes leaves at worst an unlisted file, which adding the class
// adopts. ClassName and Default change together in one replace of Config.conf.
#pragma once

#include "base/message_box.h"
#include "storage/data_folder.h"
#include "storage/roster.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

inline constexpr Message kClassNameEmpty{"输入有误", "班级名称不允许为空，请重试！", kErrorOk};
inline constexpr Message kSaveNameEmpty{"班级名为空", "班级名称不能为空！", kErrorOk};
inline constexpr Message kClassGone{
    "班级已变动", "该班级已被删除或改名（可能是另一个打开的本程序所为），列表已更新为当前的数据，请重试！", kErrorOk};
inline constexpr Message kRosterChanged{
    "数据已变动",
    "该班级的学号姓名数据在您编辑期间已被修改（可能是另一个打开的本程序所为）。\r\n"
    "选择“是”将用您输入的数据覆盖它；选择“否”将显示当前保存的数据。\r\n确实要覆盖吗？",
    kQuestionYesNo | kSecondButtonDefault};
inline constexpr Message kListTooLongToChange{
    "数据过长", "班级列表超出了程序能够完整读取的长度，为避免丢失班级，本次操作未写入任何内容！", kErrorOk};
inline constexpr Message kRosterTooLongToSave{
    "数据过长", "该班级已保存的学号姓名数据超出了程序能够完整读取的长度，为避免丢失数据，本次保存未写入任何内容！",
    kErrorOk};
inline constexpr Message kClassNotDeleted{"删除失败",
                                          "班级未能删除：无法写入 Data "
                                          "文件夹中的文件。请确认该文件夹不是只读的、文件未被其他程序占用，然后重试！",
                                          kErrorOk};
inline constexpr Message kRosterFileNotDeleted{
    "删除失败", "班级已从列表中删除，但无法删除 Data 文件夹中它的学号姓名文件，该文件已不再使用，可以手动删除。",
    kWarningOk};
inline constexpr Message kDataFolderBusy{
    "数据正忙", "另一个打开的本程序正在读写班级数据，本次操作未写入任何内容，请稍后重试！", kErrorOk};

// "无法写入": the folder lock's name is taken by a folder or another thing that is no file.
Message lockNotAFileMessage(const FilePath& lockFile);

namespace classes {

// The class an operation acts on, as the window shows it: its place in the class
// box and its name as the window read it from the list (not the box's text, which
// a toolkit may cut at a control character).
struct ShownClass {
    int index = -1;
    std::string name;
};

enum class Outcome {
    Done,          // written; message, when set, still tells something went wrong (a file left behind)
    Refused,       // the input or the stored data does not allow it: nothing written
    ClassGone,     // not listed under the shown name any more: nothing written, the window reloads the list
    RosterChanged, // save: the stored roster is not the one shown: nothing written; roster is the stored one
    Failed,        // a read or write failed: nothing after it was written
};

struct Result {
    Outcome outcome = Outcome::Done;
    std::optional<Message> message;      // what the teacher is told
    ClassRoster roster;                  // the class's roster as stored afterwards
    bool current = false;                // the class is (add, save, choose) or was (delete) the current class
    bool lastClass = false;              // delete: the list is empty now
    bool marksKept = true;               // rename, delete: the round and absence files were moved or dropped
    std::optional<std::size_t> refusedLine; // save: the roster text's first refused row

    bool done() const { return outcome == Outcome::Done; }
};

// The class list and the current class as stored now; failed when Config.conf could not be read.
struct Listing {
    std::string list; // ClassName as stored
    std::vector<std::string> classes;
    std::string current;
    std::optional<Message> failure;
};
Listing readListing(const DataFolder& data);

// Adds the class the teacher named at the end of the list, with its roster file
// (an existing file is adopted with its students); with makeCurrent it becomes
// the current class in the same write.
Result addClass(const DataFolder& data, std::string_view enteredName, bool makeCurrent);

// Saves the roster text under the shown class, or under newName, which then
// takes the class's place in the list (and as current class); the old file stays
// behind, unlisted, while the round and absence files move to the new name.
// shownRoster is the roster the window showed: when the stored one differs,
// nothing is written unless overwrite is set.
Result saveClass(const DataFolder& data, const ShownClass& shown, std::string_view newName, std::string_view rosterText,
                 const ClassRoster& shownRoster, bool overwrite = false);

// Unlists the class (and clears Default when it was current), then deletes its
// roster, round and absence files unless its name is no roster file of its own.
Result deleteClass(const DataFolder& data, const ShownClass& shown);

// Makes the shown class current; the result holds its roster.
Result chooseClass(const DataFolder& data, const ShownClass& shown);

} // namespace classes
} // namespace tallyra
