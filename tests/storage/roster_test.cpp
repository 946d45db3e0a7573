// Class rosters: the roster text both ways, its checks and refusals, and the
// roster files.
#include "storage/roster.h"

#include "data_folder.h"
#include "storage/ini_file.h"

namespace tallyra {
namespace {

using testing::readBytes;
using testing::writeBytes;

ClassRoster roster(std::vector<std::string> numbers, std::vector<std::string> names) {
    return {std::move(numbers), std::move(names)};
}

TEST(RosterText, Format) {
    EXPECT_EQ(formatRosterText(roster({"1", "2"}, {"张三", "李四"})), "1\t张三\r\n2\t李四\r\n");
    EXPECT_EQ(formatRosterText(roster({}, {})), "");
    EXPECT_EQ(formatRosterText(roster({"", "007"}, {"张三", " 李 四 "})), "\t张三\r\n007\t 李 四 \r\n");
    // A hand-edited file may hold fewer names than numbers, or more.
    EXPECT_EQ(formatRosterText(roster({"1", "2", "3"}, {"张三"})), "1\t张三\r\n2\t\r\n3\t\r\n");
    EXPECT_EQ(formatRosterText(roster({"1"}, {"张三", "李四"})), "1\t张三\r\n");
}

TEST(RosterText, ParseAccepted) {
    const ClassRoster twoStudents = roster({"1", "2"}, {"张三", "李四"});
    struct Case {
        const char* name;
        std::string_view text;
        ClassRoster expected;
    } const cases[] = {
        {"formatted text", "1\t张三\r\n2\t李四\r\n", twoStudents},
        {"without the final CR LF", "1\t张三\r\n2\t李四", twoStudents},
        {"empty rows between and after", "\r\n1\t张三\r\n\r\n\r\n2\t李四\r\n\r\n", twoStudents},
        {"empty number", "\t张三\r\n2\t李四\r\n", roster({"", "2"}, {"张三", "李四"})},
        {"empty last column of a spreadsheet", "1\t甲\t\r\n", roster({"1"}, {"甲"})},
        {"blanks kept", " 07 \t 王 五 \r\n", roster({" 07 "}, {" 王 五 "})},
        {"number kept as text", "007\t王五\r\n", roster({"007"}, {"王五"})},
        {"only empty rows", "\r\n\r\n", roster({}, {})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RosterParse parse = parseRosterText(c.text);
        EXPECT_EQ(parse.refusal, std::nullopt);
        EXPECT_EQ(parse.roster, c.expected);
    }
}

TEST(RosterText, ChecksAndRefusals) {
    std::string tooLong;
    for (int i = 0; i < 2100; ++i)
        tooLong += std::to_string(i) + "\t张三\r\n"; // names: 2,100 × 5 bytes
    struct Case {
        const char* name;
        std::string text;
        std::optional<Message> check; // the first two checks
        std::optional<Message> parse; // the row check
    } const cases[] = {
        {"empty text", "", kRosterTextEmpty, std::nullopt},
        {"no TAB anywhere", "1 张三\r\n2 李四\r\n", kRosterTextWithoutTab, kRosterRowInvalid},
        {"number and TAB only", "1\t\r\n", std::nullopt, kRosterRowInvalid},
        {"two TABs", "1\t张三\t李四\r\n", std::nullopt, kRosterRowInvalid},
        {"one row with a blank instead of a TAB", "1\t张三\r\n2 李四\r\n", std::nullopt, kRosterRowInvalid},
        {"rows cut by LF alone", "1\t张三\n2\t李四\n", std::nullopt, kRosterRowInvalid},
        {"rows cut by CR alone", "1\t张三\r2\t李四\r", std::nullopt, kRosterRowInvalid},
        {"comma in a name", "1\t张三,李四\r\n", std::nullopt, kRosterRowInvalid},
        {"comma in a number", "1,2\t张三\r\n", std::nullopt, kRosterRowInvalid},
        {"lone LF in a row", "1\t张\n三\r\n", std::nullopt, kRosterRowInvalid},
        {"lone CR in a number", "1\r\t张三\r\n", std::nullopt, kRosterRowInvalid},
        {"names longer than a file value", tooLong, std::nullopt, kRosterTooLong},
        {"rare names whose GBK bytes read as UTF-8", "1\t璺弤\r\n", std::nullopt, kRosterWouldBeMisread},
        // Rosters that would not read back whole: the last student would be lost.
        {"empty number in the last row", "1\t张三\r\n\t李四\r\n", std::nullopt, kRosterRowInvalid},
        {"empty number in the only row", "\t李四", std::nullopt, kRosterRowInvalid},
        {"blank number in the last row", "1\t张三\r\n  \t李四\r\n", std::nullopt, kRosterRowInvalid},
        {"blank name in the last row", "1\t张三\r\n2\t  \r\n", std::nullopt, kRosterRowInvalid},
        {"number and name both empty", "1\t张三\r\n\t\t\r\n2\t李四\r\n", std::nullopt, kRosterRowInvalid},
        // Its own text, "1\t", would be refused at the next save.
        {"empty name before a second TAB", "1\t\t\r\n2\t李四\r\n", std::nullopt, kRosterRowInvalid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(checkRosterText(c.text), c.check);
        EXPECT_EQ(parseRosterText(c.text).refusal, c.parse);
    }

    // The limit counts file bytes: 1,800 names of 4 GBK bytes fit, although they take 6 in UTF-8.
    std::string fits;
    for (int i = 0; i < 1800; ++i)
        fits += std::to_string(i) + "\t张三\r\n";
    EXPECT_EQ(parseRosterText(fits).refusal, std::nullopt);
}

TEST(RosterText, PositionsPastTheNamesShowAnEmptyName) {
    const ClassRoster r = roster({"1", "2", "3"}, {"张三"});
    EXPECT_EQ(r.size(), 3u);
    EXPECT_EQ(r.nameAt(1), "张三");
    EXPECT_EQ(r.nameAt(3), "");
    EXPECT_EQ(r.numberAt(3), "3");
    EXPECT_EQ(r.numberAt(4), "");
    EXPECT_EQ(r.nameAt(0), "");
}

class RosterFileTest : public testing::DataFolderTest {};

TEST_F(RosterFileTest, WrittenRosterReadsBackAndIsGbkOnDisk) {
    const RosterParse parse = parseRosterText("1\t张三\r\n2\t李四\r\n");
    ASSERT_TRUE(writeRoster(dataFolder(), "一班", parse.roster));
    EXPECT_EQ(dataFolder().rosterFile("一班"), data("一班.conf"));
    EXPECT_EQ(readBytes(data("一班.conf")), "[ClassData]\r\nNumber=1,2\r\nName=\xD5\xC5\xC8\xFD,\xC0\xEE\xCB\xC4\r\n");
    EXPECT_EQ(readRoster(dataFolder(), "一班"), parse.roster);

    const ClassRoster withEmptyNumber = roster({"", "2"}, {"张三", "李四"});
    ASSERT_TRUE(writeRoster(dataFolder(), "一班", withEmptyNumber));
    EXPECT_EQ(readIniItem(dataFolder().rosterFile("一班"), "ClassData", "Number"), ",2");
    EXPECT_EQ(readRoster(dataFolder(), "一班"), withEmptyNumber);
}

// A Data folder copied from Windows, where file names ignore letter case.
TEST_F(RosterFileTest, FilesAreFoundWithoutRegardToLetterCase) {
    const struct {
        const char* className;
        const char* fileOnDisk;
        bool found;
    } kCases[] = {
        {"A班", "a班.conf", true},   {"ｂ班", "Ｂ班.CONF", true},   {"ΣΟΦΊΑ", "σοφία.conf", true},
        {"ПЁТР", "пётр.conf", true}, {"ÉCOLE", "école.conf", true}, {"ŁÓDŹ", "łódź.conf", true},
        {"B班", "a班.conf", false},  {"A班x", "a班.conf", false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.className);
        std::filesystem::remove_all(data());
        std::filesystem::create_directory(data());
        writeBytes(data(c.fileOnDisk), "[ClassData]\r\nNumber=1\r\nName=A\r\n");
        EXPECT_EQ(readRoster(dataFolder(), c.className).size(), c.found ? 1u : 0u);
        if (!c.found) continue;
#ifndef _WIN32 // Windows' own lookup finds the file under the name as given
        EXPECT_EQ(dataFolder().rosterFile(c.className), data(c.fileOnDisk));
#endif
        ASSERT_TRUE(writeRoster(dataFolder(), c.className, roster({"1", "2"}, {"A", "B"})));
        EXPECT_EQ(readIniItem(data(c.fileOnDisk), "ClassData", "Number"), "1,2");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data()), {}), 1) << "a second file appeared";
    }
}

TEST_F(RosterFileTest, MissingFileReadsAsEmptyRoster) {
    EXPECT_EQ(readRoster(dataFolder(), "二班"), ClassRoster{});
    writeBytes(data("二班.conf"), "[Other]\r\nNumber=1\r\n");
    EXPECT_EQ(readRoster(dataFolder(), "二班"), ClassRoster{});
}

TEST_F(RosterFileTest, FilesWrittenByOtherProgramsRead) {
    struct Case {
        const char* name;
        std::string bytes;
        ClassRoster expected;
    } const cases[] = {
        {"GBK", "[ClassData]\r\nNumber=1,2\r\nName=\xD5\xC5\xC8\xFD,\xC0\xEE\xCB\xC4\r\n",
         roster({"1", "2"}, {"张三", "李四"})},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF[ClassData]\r\nNumber=1,2\r\nName=张三,李四\r\n",
         roster({"1", "2"}, {"张三", "李四"})},
        {"UTF-8", "[ClassData]\nName=张三,李四\nNumber=1,2\n", roster({"1", "2"}, {"张三", "李四"})},
        {"fewer names than numbers", "[ClassData]\r\nNumber=1,2,3\r\nName=\xD5\xC5\xC8\xFD\r\n",
         roster({"1", "2", "3"}, {"张三"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(data("一班.conf"), c.bytes);
        EXPECT_EQ(readRoster(dataFolder(), "一班"), c.expected);
    }
}

TEST_F(RosterFileTest, SavingARosterResavedAsUtf8StoresTheWholeFileInGbk) {
    writeBytes(data("一班.conf"), "[ClassData]\nNumber=1\nName=张三\n[备注]\n班主任=李四\n");
    ASSERT_TRUE(writeRoster(dataFolder(), "一班", roster({"1", "2"}, {"张三", "王五"})));
    EXPECT_EQ(readBytes(data("一班.conf")), "[ClassData]\nNumber=1,2\nName=\xD5\xC5\xC8\xFD,\xCD\xF5\xCE\xE5\n"
                                            "[\xB1\xB8\xD7\xA2]\n\xB0\xE0\xD6\xF7\xC8\xCE=\xC0\xEE\xCB\xC4\n");
}

TEST_F(RosterFileTest, RosterTooLongForTheFileIsRefusedBeforeAnythingIsWritten) {
    const std::string before = "[ClassData]\r\nNumber=1\r\nName=\xD5\xC5\xC8\xFD\r\n";
    writeBytes(data("一班.conf"), before);
    ClassRoster big;
    for (int i = 0; i < 2100; ++i) {
        big.numbers.push_back(std::to_string(i)); // numbers alone still fit
        big.names.push_back("张三");
    }
    EXPECT_FALSE(writeRoster(dataFolder(), "一班", big));
    EXPECT_EQ(readBytes(data("一班.conf")), before);
}

// A list longer than a read returns is cut at the value limit: only positions whose
// number and name were both read whole are drawn (the last item of a cut list may
// be shortened); lists that merely differ in length are read as they are.
TEST_F(RosterFileTest, ARosterCutAtTheLimitKeepsOnlyWholeStudents) {
    const auto list = [](int count, const auto& item) {
        std::string text;
        for (int i = 1; i <= count; ++i)
            text += (i > 1 ? "," : "") + item(i);
        return text;
    };
    const auto fourDigits = [](int i) { return std::string(4 - std::to_string(i).size(), '0') + std::to_string(i); };
    const auto plain = [](int i) { return std::to_string(i); };
    const auto gbkName = [](int) { return std::string("\xD5\xC5\xC8\xFD\xB7\xE1"); }; // 张三丰
    const struct {
        const char* what;
        std::string numbers, names;
        bool cut;
        std::size_t students;
        std::string lastName;
    } rows[] = {
        // 2,047 items and commas fill 10,235 bytes; "2048" fills the rest and may be shortened.
        {"numbers cut", list(3000, fourDigits), list(3000, [](int) { return std::string("a"); }), true, 2047, "a"},
        // 1,462 names fill 10,234 bytes; the next is cut inside.
        {"names cut", list(1500, plain), list(1500, gbkName), true, 1462, "张三丰"},
        {"fewer names, no cut", "1,2,3", "a,b", false, 3, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        writeBytes(data("一班.conf"), "[ClassData]\r\nNumber=" + row.numbers + "\r\nName=" + row.names + "\r\n");
        const StoredRoster stored = loadRoster(dataFolder(), "一班");
        EXPECT_EQ(stored.cut, row.cut);
        ASSERT_EQ(stored.roster.size(), row.students);
        EXPECT_EQ(stored.roster.nameAt(row.students), row.lastName);
    }
}

TEST_F(RosterFileTest, CreateMakesAnEmptyRosterAndAdoptsAnExistingFile) {
    EXPECT_TRUE(createRosterFile(dataFolder(), "一班"));
    EXPECT_EQ(readBytes(data("一班.conf")), "[ClassData]\r\nName=\r\nNumber=\r\n");

    // A file left from a lost settings file or a first-run reset keeps its students.
    const std::string leftBehind = "; kept\r\n[ClassData]\r\nNumber=1,2\r\nName=\xD5\xC5\xC8\xFD\r\n[Other]\r\nx=1\r\n";
    writeBytes(data("二班.conf"), leftBehind);
    EXPECT_TRUE(createRosterFile(dataFolder(), "二班"));
    EXPECT_EQ(readBytes(data("二班.conf")), leftBehind);
    EXPECT_EQ(readRoster(dataFolder(), "二班"), roster({"1", "2"}, {"张三"}));
}

TEST_F(RosterFileTest, DeleteRemovesTheFileAndCountsAMissingOneAsDone) {
    ASSERT_TRUE(createRosterFile(dataFolder(), "一班"));
    EXPECT_TRUE(deleteRosterFile(dataFolder(), "一班"));
    EXPECT_FALSE(std::filesystem::exists(data("一班.conf")));
    EXPECT_TRUE(deleteRosterFile(dataFolder(), "一班"));
}

TEST_F(RosterFileTest, NamesFromAHandEditedClassListNeverReachOtherFiles) {
    // "Config" would be the settings file, "../x" a file beside the Data folder.
    writeBytes(config(), "[Settings]\r\nFirst=False\r\n");
    writeBytes(data() / ".." / "x.conf", "keep");
    for (std::string_view name : {"Config", "cOnFiG", "../x", "..\\x", "CON", "com1 .x", "LPT\u00B9"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(writeRoster(dataFolder(), name, roster({"1"}, {"甲"})));
        EXPECT_FALSE(createRosterFile(dataFolder(), name));
        EXPECT_FALSE(deleteRosterFile(dataFolder(), name));
    }
    EXPECT_EQ(readBytes(config()), "[Settings]\r\nFirst=False\r\n");
    EXPECT_EQ(readBytes(data() / ".." / "x.conf"), "keep");
}

} // namespace
} // namespace tallyra
