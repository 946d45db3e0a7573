// The order in which the class management window's real handlers write the
// settings file and the roster files, observed on the files themselves: every
// replace is caught between writing the temporary file and renaming it, where the
// old and the new contents of the file both lie in the Data folder. Roster files
// are written before the class list names them, and a roster's two lists go in
// one replace, so a stop between any two writes leaves no listed class without its roster.
#include "storage/ini_dialect.h"
#include "storage/platform/file_system.h"
#include "storage/text_encoding.h"
#include "tests/ui/window_fixture.h"

namespace tallyra::ui {
namespace {

using Log = std::vector<std::string>;

class WriteOrderTest : public testing::WindowFixture {
protected:
    void SetUp() override {
        folder.prepare("", "");
        classWindow = openClassManagement();
        platform::setBeforeReplaceHook([this] { recordReplace(); });
    }
    void TearDown() override { platform::setBeforeReplaceHook({}); }

    // "file: Key=value" for each item the replace changes, "file: unchanged" when it changes none.
    void recordReplace() {
        for (const auto& entry : std::filesystem::directory_iterator(toFsPath(folder.data().path()))) {
            const std::u8string utf8Name = entry.path().filename().u8string();
            const std::string name(utf8Name.begin(), utf8Name.end());
            const std::size_t tmp = name.find(".conf.tmp");
            if (tmp == std::string::npos) continue;
            const std::string target = name.substr(0, tmp + 5);
            const std::string before = fileBytes(folder.data().path() / target);
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

    void addClass(const std::string& name) {
        toolkit.inputs.push_back(name);
        toolkit.click(classWindow, class_management_units::kAddButton);
    }
    void save(int item, const std::string& name, const std::string& rosterText) {
        toolkit.choose(classWindow, kClassBox, item);
        toolkit.setText(classWindow, class_management_units::kNameBox, name);
        toolkit.setText(classWindow, class_management_units::kRosterBox, rosterText);
        toolkit.click(classWindow, class_management_units::kSaveButton);
    }
    void deleteItem(int item) {
        toolkit.choose(classWindow, kClassBox, item);
        toolkit.answers.push_back(MessageAnswer::Yes);
        toolkit.click(classWindow, class_management_units::kDeleteButton);
    }
    Log takeLog() { return std::exchange(log_, {}); }

    WindowId classWindow = kNoWindow;
    Log log_;
};

TEST_F(WriteOrderTest, AddClass) {
    addClass("一班");
    EXPECT_EQ(takeLog(), (Log{"一班.conf: Number= Name=", "Config.conf: ClassName=一班", "Config.conf: Default=一班"}));
    EXPECT_EQ(fileBytes(folder.data().rosterFile("一班")), "[ClassData]\r\nName=\r\nNumber=\r\n");

    addClass("二班");
    EXPECT_EQ(takeLog(), (Log{"二班.conf: Number= Name=", "Config.conf: ClassName=一班,二班"}));
}

TEST_F(WriteOrderTest, AddingAClassWhoseFileWasLeftBehindAdoptsIt) {
    const std::string leftBehind = "[ClassData]\r\nNumber=1\r\nName=\xD5\xC5\xC8\xFD\r\n";
    std::ofstream(toFsPath(folder.data().rosterFile("一班")), std::ios::binary) << leftBehind;
    addClass("一班");
    EXPECT_EQ(takeLog(), (Log{"Config.conf: ClassName=一班", "Config.conf: Default=一班"}));
    EXPECT_EQ(fileBytes(folder.data().rosterFile("一班")), leftBehind);
    EXPECT_EQ(toolkit.text(classWindow, class_management_units::kRosterBox), "1\t张三\r\n");
    EXPECT_EQ(rollCall.roster(), (ClassRoster{{"1"}, {"张三"}}));
}

TEST_F(WriteOrderTest, SaveUnderTheSameName) {
    addClass("一班");
    addClass("二班");
    takeLog();
    save(0, "一班", "1\t张三\r\n2\t李四\r\n");
    EXPECT_EQ(takeLog(), (Log{"一班.conf: Number=1,2 Name=张三,李四", "Config.conf: unchanged"}));
    // Later saves replace both values in place: the file keeps Name before Number.
    EXPECT_EQ(fileBytes(folder.data().rosterFile("一班")),
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
    EXPECT_TRUE(std::filesystem::exists(toFsPath(folder.data().rosterFile("一班")))); // the old file stays behind

    save(1, "四班", "1\t张三\r\n");
    EXPECT_EQ(takeLog(), (Log{"四班.conf: Number=1 Name=张三", "Config.conf: ClassName=三班,四班"}));
}

TEST_F(WriteOrderTest, DeleteClass) {
    addClass("一班");
    addClass("二班");
    takeLog();
    deleteItem(0);
    EXPECT_EQ(takeLog(), (Log{"Config.conf: Default=", "Config.conf: ClassName=二班", "Config.conf: Default=二班"}));
    EXPECT_FALSE(std::filesystem::exists(toFsPath(folder.data().rosterFile("一班"))));

    deleteItem(0);
    EXPECT_EQ(takeLog(), (Log{"Config.conf: Default=", "Config.conf: ClassName="}));
    EXPECT_FALSE(std::filesystem::exists(toFsPath(folder.data().rosterFile("二班"))));
}

} // namespace
} // namespace tallyra::ui
