// The order in which the class operations write the settings file and the
// roster files, observed on the files themselves: every
// replace is caught between writing the temporary file and renaming it, where the
// old and the new contents of the file both lie in the Data folder. Roster files
// are written before the class list names them, and a roster's two lists go in
// one replace, so a stop between any two writes leaves no listed class without its roster.
#include "storage/classes.h"

#include "data_folder.h"
#include "storage/ini_dialect.h"
#include "storage/lists.h"
#include "storage/platform/file_system.h"
#include "storage/settings.h"
#include "storage/text_encoding.h"

namespace tallyra {
namespace {

using Log = std::vector<std::string>;

class WriteOrderTest : public testing::DataFolderTest {
protected:
    void SetUp() override {
        DataFolderTest::SetUp();
        ASSERT_EQ(settings::prepareFirstRun(dataFolder()), settings::FirstRun::Prepared);
        platform::setBeforeReplaceHook([this] { recordReplace(); });
    }
    static std::string fileBytes(const FilePath& file) { return testing::readBytes(toFsPath(file)); }

    // "file: Key=value" for each item the replace changes, "file: unchanged" when it changes none.
    void recordReplace() {
        for (const auto& entry : std::filesystem::directory_iterator(data())) {
            const std::u8string utf8Name = entry.path().filename().u8string();
            const std::string name(utf8Name.begin(), utf8Name.end());
            const std::size_t tmp = name.find(".conf.tmp");
            if (tmp == std::string::npos) continue;
            const std::string target = name.substr(0, tmp + 5);
            const std::string before = fileBytes(dataFolder().path() / target);
            const std::string after = fileBytes(toFilePath(entry.path()));
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

    // As the class management window does: the first class becomes current.
    classes::Result addClass(const std::string& name) {
        return classes::addClass(dataFolder(), name, settings::currentClass(dataFolder()).empty());
    }
    classes::ShownClass shown(int item) {
        return {item, splitList(settings::classList(dataFolder()), ",").at(static_cast<std::size_t>(item))};
    }
    void save(int item, const std::string& name, const std::string& rosterText) {
        const classes::ShownClass was = shown(item);
        EXPECT_TRUE(classes::saveClass(dataFolder(), was, name, rosterText, readRoster(dataFolder(), was.name)).done());
    }
    // And then, as the settings window does, the class now at that place becomes current.
    void deleteItem(int item) {
        EXPECT_TRUE(classes::deleteClass(dataFolder(), shown(item)).done());
        const std::vector<std::string> left = splitList(settings::classList(dataFolder()), ",");
        if (!left.empty()) {
            const int next = std::min(item, static_cast<int>(left.size()) - 1);
            EXPECT_TRUE(classes::chooseClass(dataFolder(), shown(next)).done());
        }
    }
    Log takeLog() { return std::exchange(log_, {}); }

    Log log_;
};

TEST_F(WriteOrderTest, AddClass) {
    addClass("一班");
    EXPECT_EQ(takeLog(), (Log{"一班.conf: Number= Name=", "Config.conf: ClassName=一班", "Config.conf: Default=一班"}));
    EXPECT_EQ(fileBytes(dataFolder().rosterFile("一班")), "[ClassData]\r\nName=\r\nNumber=\r\n");

    addClass("二班");
    EXPECT_EQ(takeLog(), (Log{"二班.conf: Number= Name=", "Config.conf: ClassName=一班,二班"}));
}

TEST_F(WriteOrderTest, AddingAClassWhoseFileWasLeftBehindAdoptsIt) {
    const std::string leftBehind = "[ClassData]\r\nNumber=1\r\nName=\xD5\xC5\xC8\xFD\r\n";
    std::ofstream(toFsPath(dataFolder().rosterFile("一班")), std::ios::binary) << leftBehind;
    EXPECT_EQ(addClass("一班").roster, (ClassRoster{{"1"}, {"张三"}}));
    EXPECT_EQ(takeLog(), (Log{"Config.conf: ClassName=一班", "Config.conf: Default=一班"}));
    EXPECT_EQ(fileBytes(dataFolder().rosterFile("一班")), leftBehind);
}

TEST_F(WriteOrderTest, SaveUnderTheSameName) {
    addClass("一班");
    addClass("二班");
    takeLog();
    save(0, "一班", "1\t张三\r\n2\t李四\r\n");
    EXPECT_EQ(takeLog(), (Log{"一班.conf: Number=1,2 Name=张三,李四", "Config.conf: unchanged"}));
    // Later saves replace both values in place: the file keeps Name before Number.
    EXPECT_EQ(fileBytes(dataFolder().rosterFile("一班")),
              "[ClassData]\r\nName=\xD5\xC5\xC8\xFD,\xC0\xEE\xCB\xC4\r\nNumber=1,2\r\n");

    save(1, "二班", "1\t张三\r\n");
    EXPECT_EQ(takeLog(), (Log{"二班.conf: Number=1 Name=张三"}));
}

TEST_F(WriteOrderTest, SaveUnderANewName) {
    addClass("一班");
    addClass("二班");
    takeLog();
    save(0, "三班", "1\t张三\r\n2\t李四\r\n");
    EXPECT_EQ(takeLog(), (Log{"三班.conf: Number=1,2 Name=张三,李四", "Config.conf: Default=三班",
                              "Config.conf: ClassName=三班,二班", "Config.conf: unchanged"}));
    EXPECT_TRUE(std::filesystem::exists(toFsPath(dataFolder().rosterFile("一班")))); // the old file stays behind

    save(1, "四班", "1\t张三\r\n");
    EXPECT_EQ(takeLog(), (Log{"四班.conf: Number=1 Name=张三", "Config.conf: ClassName=三班,四班"}));
}

TEST_F(WriteOrderTest, DeleteClass) {
    addClass("一班");
    addClass("二班");
    takeLog();
    deleteItem(0);
    EXPECT_EQ(takeLog(), (Log{"Config.conf: Default=", "Config.conf: ClassName=二班", "Config.conf: Default=二班"}));
    EXPECT_FALSE(std::filesystem::exists(toFsPath(dataFolder().rosterFile("一班"))));

    deleteItem(0);
    EXPECT_EQ(takeLog(), (Log{"Config.conf: Default=", "Config.conf: ClassName="}));
    EXPECT_FALSE(std::filesystem::exists(toFsPath(dataFolder().rosterFile("二班"))));
}

} // namespace
} // namespace tallyra
