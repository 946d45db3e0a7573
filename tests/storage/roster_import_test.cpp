// Rosters brought in from files as spreadsheets and editors write them: each
// encoding, separator and column layout, and the rows a spreadsheet spoils.
#include "storage/roster_import.h"

#include "storage/text_encoding.h"

#include <gtest/gtest.h>

namespace tallyra {
namespace {

std::string utf16le(std::string_view utf8) {
    std::string bytes = "\xFF\xFE";
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Character c = decodeUtf8At(utf8, pos);
        bytes += static_cast<char>(c.codePoint & 0xFF);
        bytes += static_cast<char>(c.codePoint >> 8);
        pos += c.length;
    }
    return bytes;
}

std::string numbered(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "生" + std::to_string(i) + "\r\n";
    return text;
}

TEST(RosterImport, FilesAsTheyComeFromSpreadsheetsAndEditors) {
    const std::string twoStudents = "01\t张三\r\n02\t李四\r\n";
    struct Case {
        const char* name;
        std::string fileName, bytes;
        std::string roster;                  // as the roster box shows it
        std::vector<std::size_t> lines = {}; // lines listed as unreadable
        std::optional<Message> refusal = {};
    } const cases[] = {
        {"GBK, comma, as Excel writes CSV", "一班.csv", encodeForFile("学号,姓名\r\n01,张三\r\n02,李四\r\n"),
         twoStudents},
        {"UTF-8 with a mark, Tab", "a.txt",
         "\xEF\xBB\xBF"
         "01\t张三\n02\t李四\n",
         twoStudents},
        {"UTF-8 without a mark", "a.csv", "01,张三\n02,李四", twoStudents},
        {"UTF-16 with a mark, Chinese comma", "a.txt", utf16le("01，张三\r\n02，李四\r\n"), twoStudents},
        {"semicolon, blanks, empty lines", "a.csv", "\r\n 01 ; 张三 \r\n\r\n02;李四;\r\n;;\r\n", twoStudents},
        {"quoted fields", "a.csv", "\"01\",\"张三\"\r\n\"02\",\"李\"\"四\"\r\n", "01\t张三\r\n02\t李\"四\r\n"},
        {"header picks the columns", "a.csv", "序号,性别,名字,编号\r\n1,男,张三,01\r\n2,女,李四,02\r\n", twoStudents},
        {"names alone are numbered", "a.txt", "张三\r\n李四\r\n", twoStudents},
        {"a header of names alone", "a.csv", "姓名\r\n张三\r\n李四\r\n", twoStudents},
        {"100 names get three digits", "a.txt", numbered(100), ""},
        {"GBK that is also UTF-8 stays GBK", "a.csv", encodeForFile("01,郑皓博\r\n"), "01\t郑皓博\r\n"},
        {"damaged lines", "a.csv", "01,张三\r\n02,\r\n,李四\r\n\"03,王五\r\n04,\"赵,六\"\r\n", "", {2, 3, 4, 5}},
        {"scientific notation", "a.csv", "202301000001,张三\r\n2.02301E+11,李四\r\n", "", {2}},
        {"lost leading zeros", "a.csv", "001,张三\r\n2,李四\r\n010,王五\r\n", "", {2}},
        {"numbers without zeros anywhere are kept", "a.csv", "1,张三\r\n10,李四\r\n", "1\t张三\r\n10\t李四\r\n"},
        {"xlsx by name", "一班.XLSX", "01,张三", "", {}, kImportSpreadsheetRefused},
        {"xls renamed to csv", "a.csv", std::string("\xD0\xCF\x11\xE0\x00", 5), "", {}, kImportSpreadsheetRefused},
        {"nothing in it", "a.csv", "\r\n,\r\n", "", {}, kImportNoStudents},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RosterImport result = importRoster(c.fileName, c.bytes);
        EXPECT_EQ(result.refusal, c.refusal);
        std::vector<std::size_t> lines;
        for (const ImportProblem& problem : result.problems)
            lines.push_back(problem.line);
        EXPECT_EQ(lines, c.lines);
        if (c.lines.empty() && !c.refusal && !c.roster.empty()) {
            EXPECT_EQ(formatRosterText(result.roster), c.roster);
        }
        // Whatever is imported, the roster box takes it without a refusal.
        if (result.problems.empty() && !result.refusal) {
            EXPECT_EQ(parseRosterText(formatRosterText(result.roster)).refusal, std::nullopt);
        }
    }
    const RosterImport hundred = importRoster("a.txt", numbered(100));
    EXPECT_EQ(hundred.roster.numberAt(1), "001");
    EXPECT_EQ(hundred.roster.numberAt(100), "100");
    EXPECT_EQ(classNameFromFile("C:\\学校\\高一（3）班.csv"), "高一（3）班");
    for (const char* file : {"01,\r\n", "\v\v\v\r\n", "01,\f\r\n"}) // blanks alone read back as no name
        EXPECT_NE(importProblemsMessage(importRoster("a.csv", file).problems).text.find("第 1 行：姓名为空"),
                  std::string_view::npos)
            << file;
}

} // namespace
} // namespace tallyra
