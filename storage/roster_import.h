// A roster brought in from a file the school gave the teacher: a .csv or .txt that
// a spreadsheet wrote (GBK by default on a Chinese system, or UTF-8, or UTF-16),
// with Tab, comma, Chinese comma or semicolon between the cells. The result is the
// roster text the class management window takes; nothing is written here.
#pragma once

#include "base/message_box.h"
#include "storage/file_path.h"
#include "storage/roster.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

inline constexpr Message kImportSpreadsheetRefused{
    "无法导入",
    "无法直接读取 Excel 表格文件（.xlsx、.xls）。请在 Excel 或 WPS 中用“另存为”把表格保存成 CSV 文件后再导入，"
    "或者选中学号和姓名两列复制，粘贴到“学号姓名数据”框中。",
    kErrorOk};
inline constexpr Message kImportFileUnreadable{"无法导入", "无法读取这个文件，请检查文件是否被其他程序占用。",
                                               kErrorOk};
inline constexpr Message kImportNoStudents{"无法导入", "文件中没有找到学生姓名。", kErrorOk};
inline constexpr std::string_view kImportProblemsTitle = "无法导入";

// A row of the file that cannot become a roster row, with its line (1-based).
struct ImportProblem {
    std::size_t line = 0;
    std::string reason;
};

struct RosterImport {
    std::optional<Message> refusal; // the file as a whole cannot be read
    ClassRoster roster;             // the rows read, in the file's order
    std::vector<ImportProblem> problems;
};

// The students of a file's bytes; the name tells a spreadsheet's own format.
RosterImport importRoster(std::string_view fileName, std::string_view bytes);
// Reads the file first; a spreadsheet's own format is refused without reading it.
RosterImport importRosterFile(const FilePath& file);

// The rows that cannot be read, one line each (the first ones, when there are many).
Message importProblemsMessage(const std::vector<ImportProblem>& problems);

// The class name a file proposes: its name without folder and extension.
std::string classNameFromFile(std::string_view path);

} // namespace tallyra
