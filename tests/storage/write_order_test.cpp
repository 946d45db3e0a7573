// The order in which each class operation writes the settings file and the
// roster files, observed on the files themselves: every replace is caught between
// writing the temporary file and renaming it, where the old and the new contents
// of the file both lie in the Data folder.
#include "data_folder.h"
#include "storage/class_list.h"
#include "storage/ini_dialect.h"
#include "storage/ini_file.h"
#include "storage/roster.h"
#include "storage/settings.h"
#include "storage/text_encoding.h"

namespace tallyra {
namespace {

using Log = std::vector<std::string>;

class WriteOrderTest : public testing::DataFolderTest {
protected:
    void SetUp() override {
        DataFolderTest::SetUp();
        writeIniItem(config(), "Class", "ClassName", "");
        platform::setBeforeReplaceHook([this] { recordReplace(); });
    }

    // "file: Key=value" for each item the replace changes, "file: unchanged" when it changes none.
    void recordReplace() {
        for (const auto& entry : std::filesystem::directory_iterator(data())) {
            const std::u8string utf8Name = entry.path().filename().u8string();
            const std::string name(utf8Name.begin(), utf8Name.end());
            const std::size_t tmp = name.find(".conf.tmp");
            if (tmp == std::string::npos) continue;
            const std::string target = name.substr(0, tmp + 5);
            const std::string before = testing::readBytes(data(target));
            const std::string after = testing::readBytes(entry.path());
            std::string changes;
            for (const char* section : {"Settings", "Class", "ClassData"}) {
                for (const char* key : {"First", "Voice", "ClassName", "Default", "Number", "Name"}) {
                    const auto old = ini::findValue(before, section, key);
                    const auto now = ini::findValue(after, section, key);
                    if (old != now) changes += " " + std::string(key) + "=" + decodeFromFile(now.value_or("(gone)"));
                }
            }
            log_.push_back(target + ":" + (changes.empty() ? " unchanged" : changes));
        }
    }

    std::string read(std::string_view key) {
        return readIniItem(config(), key == "First" || key == "Voice" ? "Settings" : "Class", key);
    }
    void write(std::string_view key, std::string_view value) { writeIniItem(config(), "Class", key, value); }

    // The class operations as the class management window runs them.
    void createClass(const std::string& x, bool becomesCurrent) {
        write("ClassName", addClassName(read("ClassName"), x));
        createRosterFile(x);
        if (becomesCurrent) {
            readRoster(x);
            write("Default", x);
        }
    }
    void saveClass(const std::string& x, const ClassRoster& roster) {
        writeRoster(x, roster);
        if (read("Default") == x) {
            write("Default", x);
            readRoster(x);
        }
    }
    void saveClassUnderNewName(const std::string& x, const std::string& y, const ClassRoster& roster) {
        if (read("Default") == x) write("Default", y);
        write("ClassName", renameClassName(read("ClassName"), x, y));
        writeRoster(y, roster);
        if (read("Default") == y) {
            write("Default", y);
            readRoster(y);
        }
    }
    void deleteClass(const std::string& x) {
        const std::string list = read("ClassName");
        if (read("Default") == x) write("Default", "");
        if (list == x || list.find(',') != std::string::npos) write("ClassName", removeClassName(list, x));
        deleteRosterFile(x);
    }

    Log takeLog() { return std::exchange(log_, {}); }

    Log log_;
    const ClassRoster roster_{{"1", "2"}, {"张三", "李四"}};
};

TEST_F(WriteOrderTest, CreateClass) {
    createClass("一班", true);
    EXPECT_EQ(takeLog(), (Log{"Config.conf: ClassName=一班",
                              "一班.conf: Name=", "一班.conf: Number=", "Config.conf: Default=一班"}));
    EXPECT_EQ(testing::readBytes(data("一班.conf")), "[ClassData]\r\nName=\r\nNumber=\r\n");

    createClass("二班", false);
    EXPECT_EQ(takeLog(), (Log{"Config.conf: ClassName=一班,二班", "二班.conf: Name=", "二班.conf: Number="}));
}

TEST_F(WriteOrderTest, CreateClassOverAFileLeftBehindEmptiesIt) {
    testing::writeBytes(data("一班.conf"), "[ClassData]\r\nNumber=1\r\nName=\xD5\xC5\xC8\xFD\r\n");
    createClass("一班", true);
    EXPECT_EQ(takeLog(), (Log{"Config.conf: ClassName=一班",
                              "一班.conf: Name=", "一班.conf: Number=", "Config.conf: Default=一班"}));
    EXPECT_EQ(testing::readBytes(data("一班.conf")), "[ClassData]\r\nNumber=\r\nName=\r\n");
}

TEST_F(WriteOrderTest, SaveUnderTheSameName) {
    createClass("一班", true);
    createClass("二班", false);
    takeLog();
    saveClass("一班", roster_);
    EXPECT_EQ(takeLog(), (Log{"一班.conf: Number=1,2", "一班.conf: Name=张三,李四", "Config.conf: unchanged"}));
    // Later saves replace both values in place: the file keeps Name before Number.
    EXPECT_EQ(testing::readBytes(data("一班.conf")),
              "[ClassData]\r\nName=\xD5\xC5\xC8\xFD,\xC0\xEE\xCB\xC4\r\nNumber=1,2\r\n");

    saveClass("二班", roster_);
    EXPECT_EQ(takeLog(), (Log{"二班.conf: Number=1,2", "二班.conf: Name=张三,李四"}));
}

TEST_F(WriteOrderTest, SaveUnderANewName) {
    createClass("一班", true);
    createClass("二班", false);
    takeLog();
    saveClassUnderNewName("一班", "三班", roster_);
    EXPECT_EQ(takeLog(), (Log{"Config.conf: Default=三班", "Config.conf: ClassName=三班,二班", "三班.conf: Number=1,2",
                              "三班.conf: Name=张三,李四", "Config.conf: unchanged"}));
    EXPECT_TRUE(std::filesystem::exists(data("一班.conf"))); // the old file stays behind

    saveClassUnderNewName("二班", "四班", roster_);
    EXPECT_EQ(takeLog(),
              (Log{"Config.conf: ClassName=三班,四班", "四班.conf: Number=1,2", "四班.conf: Name=张三,李四"}));
}

TEST_F(WriteOrderTest, DeleteClass) {
    createClass("一班", true);
    createClass("二班", false);
    takeLog();
    deleteClass("一班");
    EXPECT_EQ(takeLog(), (Log{"Config.conf: Default=", "Config.conf: ClassName=二班"}));
    EXPECT_FALSE(std::filesystem::exists(data("一班.conf")));

    deleteClass("二班");
    EXPECT_EQ(takeLog(), (Log{"Config.conf: ClassName="}));
    EXPECT_FALSE(std::filesystem::exists(data("二班.conf")));
    EXPECT_EQ(read("ClassName"), "");
}

} // namespace
} // namespace tallyra
